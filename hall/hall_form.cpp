#include "hall_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tallow::hall {
namespace {

constexpr int kMaxLogLines = 2000;

QLineEdit* Text(const std::string& value, bool secret = false) {
  auto* e = new QLineEdit(QString::fromStdString(value));
  if (secret) e->setEchoMode(QLineEdit::Password);
  return e;
}

QSpinBox* Number(int lo, int hi, int value) {
  auto* s = new QSpinBox;
  s->setRange(lo, hi);
  s->setValue(value);
  return s;
}

// Adds "label field" pairs to one row of a grid.
void Row(QGridLayout* g, int row, std::initializer_list<std::pair<const char*, QWidget*>> cells) {
  int col = 0;
  for (const auto& [label, field] : cells) {
    g->addWidget(new QLabel(QString::fromUtf8(label)), row, col++);
    g->addWidget(field, row, col++);
  }
}

std::string Std(const QLineEdit* e) {
  return e->text().trimmed().toStdString();
}

}  // namespace

HallForm::HallForm(const HallOptions& o, QWidget* parent) : QWidget(parent) {
  account_ = Text(o.account);
  password_ = Text(o.password, true);
  host_ = Text(o.host);
  port_ = Number(1, 65535, o.port);
  seatPort_ = Number(0, 65535, o.seatPort);
  seatPort_->setSpecialValueText(QString::fromUtf8("自动"));
  proxyHost_ = Text(o.proxy.host);
  proxyHost_->setPlaceholderText(QString::fromUtf8("不用代理"));
  proxyPort_ = Number(1, 65535, o.proxy.port);
  proxyUser_ = Text(o.proxy.user);
  proxyPassword_ = Text(o.proxy.password, true);
  table_ = Number(0, 9999, o.table);
  table_->setObjectName("table");
  seat_ = new QComboBox;
  for (const char* name : {"0 东", "1 南", "2 西", "3 北"}) seat_->addItem(QString::fromUtf8(name));
  seat_->setCurrentIndex(o.seat);
  watchTarget_ = Text(o.watch);
  watchTarget_->setPlaceholderText(QString::fromUtf8("被旁观的账号"));

  auto* login = new QGroupBox(QString::fromUtf8("账号"));
  auto* lg = new QGridLayout(login);
  Row(lg, 0, {{"账号", account_}, {"密码", password_}});

  auto* server = new QGroupBox(QString::fromUtf8("服务器"));
  auto* sg = new QGridLayout(server);
  Row(sg, 0, {{"地址", host_}, {"端口", port_}, {"座位端口", seatPort_}});

  auto* proxy = new QGroupBox(QString::fromUtf8("SOCKS5 代理（可选）"));
  auto* pg = new QGridLayout(proxy);
  Row(pg, 0, {{"地址", proxyHost_}, {"端口", proxyPort_}});
  Row(pg, 1, {{"用户", proxyUser_}, {"密码", proxyPassword_}});

  auto* place = new QGroupBox(QString::fromUtf8("座位"));
  auto* tg = new QGridLayout(place);
  Row(tg, 0, {{"桌号", table_}, {"座位", seat_}, {"旁观", watchTarget_}});

  sit = new QPushButton(QString::fromUtf8("入座"));
  watch = new QPushButton(QString::fromUtf8("旁观"));
  leave = new QPushButton(QString::fromUtf8("离开"));
  robots = new QPushButton(QString::fromUtf8("机器人"));
  robots->setToolTip(QString::fromUtf8("空座位由机器人补满"));
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {sit, watch, leave, robots}) buttons->addWidget(b);

  log_ = new QListWidget;
  log_->setMinimumHeight(180);

  auto* v = new QVBoxLayout(this);
  v->addWidget(login);
  v->addWidget(server);
  v->addWidget(proxy);
  v->addWidget(place);
  v->addLayout(buttons);
  v->addWidget(log_, 1);
}

HallOptions HallForm::Read(const HallOptions& base) const {
  HallOptions o = base;
  o.account = Std(account_);
  o.password = password_->text().toStdString();
  o.host = Std(host_);
  o.port = port_->value();
  o.seatPort = seatPort_->value();
  o.proxy.host = Std(proxyHost_);
  o.proxy.port = proxyPort_->value();
  o.proxy.user = Std(proxyUser_);
  o.proxy.password = proxyPassword_->text().toStdString();
  o.table = table_->value();
  o.seat = seat_->currentIndex();
  o.watch = Std(watchTarget_);
  return o;
}

QString HallForm::WatchTarget() const {
  return watchTarget_->text().trimmed();
}

void HallForm::AddLogLine(const QString& line) {
  log_->addItem(line);
  while (log_->count() > kMaxLogLines) delete log_->takeItem(0);
  log_->scrollToBottom();
}

QStringList HallForm::LogLines() const {
  QStringList lines;
  for (int i = 0; i < log_->count(); ++i) lines << log_->item(i)->text();
  return lines;
}

}  // namespace tallow::hall
