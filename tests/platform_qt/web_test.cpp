// The web panel for real: pages fetched over loopback HTTP (a real server: Python's
// http.server) and from files, shown in the panel, with DocumentComplete or NavigateError raised
// on the control; the shipped pages as the client finds them; and the table of a hand in play
// with the shipped panel page over the emblem.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "app/picture_clock.h"
#include "app/picture_script.h"
#include "art_resources.h"
#include "doubles/fakes.h"
#include "platform/qt/form_layout.h"
#include "platform/qt/form_view.h"
#include "platform/qt/local_site.h"
#include "session/client.h"
#include "session/startup.h"
#include "shell/web_panel.h"
#include "test_support.h"

namespace tallow::platform::qt {
namespace {

using test::PumpUntil;
using Kind = ui::InputKind;

const QString kSite = QStringLiteral(TALLOW_SITE_DIR);

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// python3 -m http.server on a free loopback port, serving `dir`; port 0 when python3 is absent.
class HttpServer {
 public:
  explicit HttpServer(const QString& dir) {
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty()) return;
    process_.start(python,
                   {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", dir});
    static const QRegularExpression serving("port ([0-9]+)");
    QString out;
    PumpUntil(
        [&] {
          out += QString::fromUtf8(process_.readAllStandardOutput());
          const auto m = serving.match(out);
          if (m.hasMatch()) port = m.captured(1).toInt();
          return port != 0 || process_.state() == QProcess::NotRunning;
        },
        10000);
  }
  ~HttpServer() {
    process_.kill();
    process_.waitForFinished(3000);
  }
  QString Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(path);
  }
  int port = 0;

 private:
  QProcess process_;
};

class WebPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.Width = 200 * 15;
    form_.Height = 120 * 15;
    form_.Visible = true;
    panel_.Move(10, 20, 120, 80);
    panel_.Visible = false;
    form_.OnInput = [this](const ui::InputEvent& e) {
      if (e.control == &panel_) seen_.push_back(e.kind);
    };
    view_ = std::make_unique<FormView>(form_);
  }
  QTextBrowser* Browser() const { return view_->findChild<QTextBrowser*>(); }
  // Navigates and waits for the page's event.
  std::optional<Kind> Load(const QString& url) {
    const std::size_t before = seen_.size();
    panel_.Navigate(url.toStdString());
    view_->Refresh();
    if (!PumpUntil([&] { return seen_.size() > before; }, 20000)) return std::nullopt;
    EXPECT_EQ(seen_.size(), before + 1) << url.toStdString();
    return seen_.back();
  }

  ui::Form form_{"F"};
  ui::Browser& panel_ = form_.Create<ui::Browser>("panel");
  std::vector<Kind> seen_;
  std::unique_ptr<FormView> view_;
};

TEST_F(WebPanel, LoadsPagesOverHttpAndFromFilesAndReportsFailures) {
  QTemporaryDir dir;
  Write(dir.filePath("page.html"),
        "<html><head><meta charset=\"utf-8\"></head><body><p>松竹麻将 公告</p></body></html>");
  QStringEncoder gbk("GBK");
  Write(dir.filePath("gbk.html"),
        "<html><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=gb2312\"></head><body>" +
            QByteArray(gbk.encode(QStringLiteral("游戏规则"))) + "</body></html>");
  Write(dir.filePath("note.txt"), "<b>not markup</b>");
  HttpServer http(dir.path());
  if (http.port == 0) GTEST_SKIP() << "python3 is needed for the HTTP server";
  const QString file = QUrl::fromLocalFile(dir.filePath("page.html")).toString();

  struct Case {
    QString url;
    Kind kind;
    QString text;  // what the panel shows after a finished page
  };
  const Case cases[] = {
      {http.Url("page.html"), Kind::DocumentComplete, "松竹麻将 公告"},
      {http.Url("gbk.html"), Kind::DocumentComplete, "游戏规则"},
      {http.Url("note.txt"), Kind::DocumentComplete, "<b>not markup</b>"},
      {file, Kind::DocumentComplete, "松竹麻将 公告"},
      {file, Kind::DocumentComplete, "松竹麻将 公告"},      // the same address loads again
      {http.Url("missing.html"), Kind::NavigateError, ""},  // 404
      {"http://127.0.0.1:1/", Kind::NavigateError, ""},     // refused
      {QUrl::fromLocalFile(dir.filePath("none.html")).toString(), Kind::NavigateError, ""},
      {"file:///dev/zero", Kind::NavigateError, ""},  // not a regular file
      {"ftp://127.0.0.1/page.html", Kind::NavigateError, ""},
      {"", Kind::NavigateError, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.url), c.kind) << c.url.toStdString();
    EXPECT_EQ(Browser()->toPlainText().trimmed(), c.text) << c.url.toStdString();
  }
}

// The client's rules address and the panel page resolve to the shipped pages.
TEST(Site, TheShippedPagesStandForTheOperatorsPages) {
  const QString rules = QDir(kSite).filePath("gameinfo/tallowmj/index.html");
  struct Case {
    QString address, dir, file;
  };
  const Case cases[] = {
      {QString::fromStdString(RulesPageUrl()), kSite, rules},
      {"https://example.org/gameinfo/tallowmj/", kSite, rules},
      {"http://example.org/panel.html#top", kSite, QDir(kSite).filePath("panel.html")},
      {"http://example.org/missing.php", kSite, ""},
      {"http://example.org/../../etc/passwd", kSite, ""},
      {QUrl::fromLocalFile(rules).toString(), kSite, ""},  // only web addresses
      {QString::fromStdString(RulesPageUrl()), "", ""},    // no copy
  };
  for (const Case& c : cases) {
    const QUrl local = LocalSitePage(QUrl(c.address), c.dir);
    EXPECT_EQ(local.toLocalFile(), c.file) << c.address.toStdString();
  }
  QFile page(rules);
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(page.readAll());
  EXPECT_TRUE(html.contains("<title>松竹麻将游戏规则</title>"));
  EXPECT_TRUE(html.contains("<table>"));  // the Markdown tables are rendered
}

// A hand in play with the shipped panel page: the panel shows it over the emblem. With
// TALLOW_TEST_PICTURES set, the table is saved there as web_panel.png.
TEST(WebPanelAtTheTable, ShowsTheShippedPageOverTheEmblem) {
  InitArtResources();
  testing::TestPlatform p;
  picture::StepClock clock;
  QTemporaryDir appDir;
  p.process.appPath = appDir.path().toStdString();
  Client c(p.Get(clock),
           std::string(picture::kLocalAccount) + "$pw$127.0.0.1$6000$松竹厅 一号桌$9$$0$$$0$$$");
  FormLoad(c);
  picture::PlayTo(c, picture::Stage::Hand);
  FormView view(c.mainForm);
  auto& f = c.mainForm;
  // As the login does with the address the server names.
  f.WebBrowser1.Navigate(
      QUrl::fromLocalFile(QDir(kSite).filePath("panel.html")).toString().toStdString());
  f.WebBrowser1.Visible = true;
  f.WebBrowser1.Move(0, 0);
  view.Refresh();
  auto* browser = view.findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return f.WebBrowser1.Left == f.Bird.Left + 2; }, 10000));
  EXPECT_EQ(c.shell.WebPanelFailed, 0);
  EXPECT_TRUE(browser->toPlainText().contains("松竹麻将"));
  EXPECT_FALSE(browser->isHidden());
  EXPECT_EQ(browser->geometry().topLeft(), ControlOrigin(f, &f.Bird) + QPoint(2, 2));
  if (const QString dir = qEnvironmentVariable("TALLOW_TEST_PICTURES"); !dir.isEmpty()) {
    EXPECT_TRUE(view.grab().save(QDir(dir).filePath("web_panel.png")));
  }
}

}  // namespace
}  // namespace tallow::platform::qt
