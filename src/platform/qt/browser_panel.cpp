#include "platform/qt/browser_panel.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTimer>

#include "platform/qt/form_view.h"

namespace tallow::platform::qt {
namespace {

bool Fetchable(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == "http" || scheme == "https" || scheme == "file");
}

// The character set a page names in its content type or in a meta element near its start.
QByteArray Charset(const QByteArray& data, const QByteArray& contentType) {
  static const QRegularExpression named(QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
                                        QRegularExpression::CaseInsensitiveOption);
  for (const QString& where :
       {QString::fromLatin1(contentType), QString::fromLatin1(data.left(2048))}) {
    const auto m = named.match(where);
    if (m.hasMatch()) return m.captured(1).toLatin1();
  }
  return "UTF-8";
}

QString Decode(const QByteArray& data, const QByteArray& contentType) {
  QStringDecoder decoder(Charset(data, contentType).constData());
  if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
  return decoder.decode(data);
}

bool IsHtml(const QUrl& url, const QByteArray& contentType, const QString& text) {
  const QString type = QString::fromLatin1(contentType).toLower();
  if (type.contains("html")) return true;
  if (type.startsWith("text/plain")) return false;
  const QString suffix = QFileInfo(url.path()).suffix().toLower();
  return suffix == "html" || suffix == "htm" || Qt::mightBeRichText(text);
}

}  // namespace

BrowserPanel::BrowserPanel(FormView& view, ui::Browser& browser)
    : QTextBrowser(&view), view_(view), browser_(browser) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The table keeps the keyboard: its keys (F1, Esc) must reach the logic.
  setFocusPolicy(Qt::NoFocus);
  setOpenLinks(false);
  setUndoRedoEnabled(false);
  document()->setDocumentMargin(2);
  connect(this, &QTextBrowser::anchorClicked, this, &BrowserPanel::OpenLink);
  hide();
}

void BrowserPanel::Apply(const QRect& where) {
  if (browser_.Navigations != navigated_) Navigate();
  const bool shown = !where.isEmpty();
  if (shown && geometry() != where) setGeometry(where);
  if (isHidden() == shown) {
    setVisible(shown);
    if (shown) raise();
  }
}

void BrowserPanel::Navigate() {
  navigated_ = browser_.Navigations;
  if (reply_ != nullptr) {
    reply_->disconnect(this);
    reply_->abort();
    reply_->deleteLater();
    reply_ = nullptr;
  }
  clear();
  page_ = QUrl();
  const QUrl url(QString::fromStdString(browser_.Url), QUrl::TolerantMode);
  if (!Fetchable(url)) return Raise(ui::InputKind::NavigateError);
  if (url.isLocalFile()) {
    // Only a regular file of a sane size: never a device, a pipe or a directory.
    const QFileInfo file(url.toLocalFile());
    if (!file.isFile() || file.size() > kMaxBytes) return Raise(ui::InputKind::NavigateError);
  }
  QNetworkRequest request(url);
  request.setTransferTimeout(kTimeoutMs);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(5);
  QNetworkReply* reply = network_.get(request);
  reply_ = reply;
  connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
    if (received > kMaxBytes || total > kMaxBytes) reply->abort();
  });
  connect(reply, &QNetworkReply::finished, this, [this, reply] { Loaded(reply); });
}

void BrowserPanel::Loaded(QNetworkReply* reply) {
  reply->deleteLater();
  if (reply != reply_) return;
  reply_ = nullptr;
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const bool statusOk = status == 0 || (status >= 200 && status < 300);
  const QByteArray data = reply->readAll();
  if (reply->error() != QNetworkReply::NoError || !statusOk || data.size() > kMaxBytes) {
    return Raise(ui::InputKind::NavigateError);
  }
  page_ = reply->url();
  Show(data, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
  Raise(ui::InputKind::DocumentComplete);
}

void BrowserPanel::Show(const QByteArray& data, const QByteArray& contentType) {
  const QString text = Decode(data, contentType);
  document()->setBaseUrl(page_);
  if (IsHtml(page_, contentType, text)) {
    setHtml(text);
  } else {
    setPlainText(text);
  }
}

QVariant BrowserPanel::loadResource(int type, const QUrl& name) {
  // Pictures and style sheets of a local page, from regular files only: no page can make the
  // client read a device or wait on the network for its pictures.
  if (!page_.isLocalFile()) return {};
  const QUrl url = page_.resolved(name);
  if (!url.isLocalFile()) return {};
  const QFileInfo info(url.toLocalFile());
  if (!info.isFile() || info.size() > kMaxBytes) return {};
  QFile file(info.filePath());
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.read(kMaxBytes);
  if (type == QTextDocument::ImageResource) return bytes;
  if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(bytes);
  return {};
}

void BrowserPanel::OpenLink(const QUrl& link) {
  const QUrl url = page_.resolved(link);
  const QString scheme = url.scheme().toLower();
  // A page from the network may not open local files.
  if (scheme == "http" || scheme == "https" || (scheme == "file" && page_.isLocalFile())) {
    QDesktopServices::openUrl(url);
  }
}

void BrowserPanel::Raise(ui::InputKind kind) {
  QTimer::singleShot(0, this, [this, kind] {
    ui::InputEvent e;
    e.kind = kind;
    e.control = &browser_;
    view_.Deliver(e);
  });
}

}  // namespace tallow::platform::qt
