// The web view of a browser control, a light stand-in for a browser engine: Qt Network fetches
// the page of each navigation the model asks for (http, https and file addresses) and a text
// browser shows it over the control's rectangle. The control then gets DocumentComplete, or
// NavigateError when the page cannot be had. Links open in the desktop's browser.
#pragma once

#include <QNetworkAccessManager>
#include <QPointer>
#include <QRect>
#include <QTextBrowser>
#include <QUrl>

#include "platform/controls.h"

class QNetworkReply;

namespace tallow::platform::qt {

class FormView;

class BrowserPanel : public QTextBrowser {
 public:
  static constexpr int kTimeoutMs = 15000;
  // A page or a picture of a page larger than this fails.
  static constexpr qint64 kMaxBytes = 1 << 20;

  BrowserPanel(FormView& view, ui::Browser& browser);
  // Shows the model: where (an empty rectangle hides the panel); starts the navigation the
  // model asks for.
  void Apply(const QRect& where);

 protected:
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void Navigate();
  void Loaded(QNetworkReply* reply);
  void Show(const QByteArray& data, const QByteArray& contentType);
  // Raises the event from the event loop, never inside the view's sync.
  void Raise(ui::InputKind kind);
  void OpenLink(const QUrl& link);

  FormView& view_;
  ui::Browser& browser_;
  QNetworkAccessManager network_;
  QPointer<QNetworkReply> reply_;
  int navigated_ = 0;  // the model's navigation last started
  QUrl page_;          // the address of the page shown
};

}  // namespace tallow::platform::qt
