#include "hall_window.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "background.h"
#include "hall_form.h"
#include "notifications.h"
#include "platform/hall_link_contract.h"
#include "platform/platform.h"
#include "robot_plan.h"
#include "seat_line.h"
#include "seating_client.h"

namespace tallow::hall {
namespace {

namespace link = platform::hall_link;
using namespace platform::wm;

constexpr std::uint32_t kWmClose = 0x0010;  // closes the hall (for scripts)
const QString kOwnSeat = "seat";
// How long the table client may take to post its answer to a question.
constexpr int kAnswerTimeoutMs = 5000;
// While a login is pending the question is asked again this often, this many times.
constexpr int kLoginRetryMs = 1000;
constexpr int kLoginRetries = 5;

QString RobotKey(int n) {
  return "robot" + QString::number(n);
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// What a piece of background work has to tell the log, and whether it got through.
struct Outcome {
  std::vector<std::string> lines;
  bool ok = false;
  bool windowFound = false;
  std::optional<std::int32_t> result;
  long long userId = 0;
  std::vector<int> seats;
};

// One seating command, logged.
bool Seating(Outcome& out, const HallOptions& o, const std::string& command) {
  const SeatingReply r = SeatingCommand(o.host, o.SeatingPort(), command);
  out.lines.push_back("seating: " + command + " → " + r.text);
  return r.ok;
}

}  // namespace

HallWindow::HallWindow(HallOptions options, QString client, QString data, QString assets)
    : options_(std::move(options)),
      client_(std::move(client)),
      data_(std::move(data)),
      assets_(std::move(assets)) {
  setWindowTitle(Q(options_.caption));
  form_ = new HallForm(options_, this);
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(0, 0, 0, 0);
  v->addWidget(form_);
  resize(560, 620);
  connect(form_->sit, &QPushButton::clicked, this, [this] { SitDown(); });
  connect(form_->watch, &QPushButton::clicked, this, [this] { Watch(); });
  connect(form_->leave, &QPushButton::clicked, this, [this] { Leave(); });
  connect(form_->robots, &QPushButton::clicked, this, [this] { FillWithRobots(3); });
  connect(&processes_, &SeatProcesses::Log, this, &HallWindow::Log);
  connect(&processes_, &SeatProcesses::Ended, this, [this](const QString& key) {
    if (key == kOwnSeat) {
      ownMode_ = Mode::kNone;
      // A client that has ended holds nobody at a table.
      if (question_) Finish();
      return;
    }
    for (auto it = robotHalls_.begin(); it != robotHalls_.end(); ++it) {
      if (RobotKey(it->first) == key) {
        robotHalls_.erase(it);
        break;
      }
    }
  });
  pool_.setMaxThreadCount(4);
}

HallWindow::~HallWindow() {
  pool_.waitForDone();
}

bool HallWindow::Listen() {
  if (link::WindowExists(options_.caption)) return false;
  return link_.Listen(options_.caption, [this](std::uint32_t msg, std::uint32_t w, std::uint32_t) {
    return OnMessage(msg, w);
  });
}

std::int32_t HallWindow::OnMessage(std::uint32_t msg, std::uint32_t wParam) {
  if (msg == kSysCommand) {
    if (wParam == kScRestore) {
      showNormal();
      raise();
      activateWindow();
    } else if (wParam == kScMinimize) {
      showMinimized();
    }
    return 0;
  }
  if (msg == kWmClose) {
    QTimer::singleShot(0, this, [this] { CloseHall(false); });
    return 0;
  }
  Log("tallow: " + Q(NotificationText(msg)));
  OnAnswer(msg);
  return 0;
}

void HallWindow::Log(const QString& line) {
  const QString stamped = QDateTime::currentDateTime().toString("hh:mm:ss ") + line;
  form_->AddLogLine(stamped);
  std::printf("%s\n", stamped.toUtf8().constData());
  std::fflush(stdout);
}

QStringList HallWindow::LogLines() const {
  return form_->LogLines();
}

void HallWindow::Report(const std::string& what, const std::string& error) {
  Log(Q(what + ": " + error));
}

bool HallWindow::RobotHall() const {
  return options_.caption != kDefaultCaption;
}

std::string HallWindow::OwnCaption(const HallOptions& o) const {
  // A table client in player mode always reports to 锦程山庄; under any other caption the hall's
  // own seat is played by a robot that reports here.
  return RobotHall() ? "tallow-" + o.account : "tallow";
}

QString HallWindow::SeatDir(const std::string& account) const {
  return QDir(data_).filePath("seats/" + Q(account));
}

void HallWindow::StopOwnSeatUnless(Mode mode, const std::string& account) {
  if (processes_.Running(kOwnSeat) && (ownMode_ != mode || ownAccount_ != account)) {
    processes_.Stop(kOwnSeat);
  }
}

bool HallWindow::PlayerClientRunning() const {
  return processes_.Running(kOwnSeat) && ownMode_ == Mode::kPlayer;
}

void HallWindow::SitDown() {
  // A player at a table leaves it first; a running game is given up only if he agrees.
  if (PlayerClientRunning()) return Ask(LeavePurpose::kMove, true, [this] { SitDownNow(); });
  SitDownNow();
}

void HallWindow::SitDownNow() {
  const HallOptions o = form_->Read(options_);
  SeatLine s{o.account, o.password,  o.host,    o.port,       RoomName(o.table),
             o.proxy,   RobotHall(), o.caption, OwnCaption(o)};
  const Built line = PlayerLine(s);
  if (!line.ok()) return Report("入座", line.error);
  if (auto e = CheckPort(o.SeatingPort()); !e.empty()) return Report("入座", "seating " + e);
  StopOwnSeatUnless(Mode::kPlayer, o.account);
  const std::string caption = OwnCaption(o);
  RunInBackground(
      pool_, this,
      [o, caption, robot = RobotHall()] {
        Outcome out;
        // A robot hall's own seat is a robot seat: it is ready for the first hand by itself.
        out.ok = (!robot || Seating(out, o, RobotCommand(o.table, o.seat))) &&
                 Seating(out, o, SeatCommand(o.account, o.table, o.seat));
        if (out.ok && link::WindowExists(caption)) {
          out.windowFound = true;
          out.result = link::SendMessage(caption, kConnect, 0, 0);
        }
        return out;
      },
      [this, o, line](const Outcome& out) {
        for (const auto& l : out.lines) Log(Q(l));
        if (!out.ok) return;
        if (out.windowFound) {
          Log(Q(RequestText(kConnect, out.result)));
        } else if (processes_.Running(kOwnSeat)) {
          Log("tallow is still starting; it logs in by itself");
        } else {
          LaunchOwnSeat(o, line.line, Mode::kPlayer);
        }
      });
}

void HallWindow::Watch() {
  if (PlayerClientRunning()) return Ask(LeavePurpose::kMove, true, [this] { WatchNow(); });
  WatchNow();
}

void HallWindow::WatchNow() {
  const HallOptions o = form_->Read(options_);
  const std::string target = o.watch;
  if (auto e = CheckAccount(target); !e.empty()) return Report("旁观", "watched player: " + e);
  if (target == o.account) return Report("旁观", "one cannot watch oneself");
  SeatLine s{o.account, o.password, o.host, o.port, RoomName(o.table), {}, false, {}, {}};
  if (const Built probe = SpectatorLine(s, 1); !probe.ok()) return Report("旁观", probe.error);
  RunInBackground(
      pool_, this,
      [o, target] {
        Outcome out;
        out.ok = Seating(out, o, WatchCommand(o.account, target));
        if (!out.ok) return out;
        const SeatingReply r = SeatingCommand(o.host, o.SeatingPort(), UserIdCommand(target));
        out.lines.push_back("seating: " + UserIdCommand(target) + " → " + r.text);
        const auto id = r.ok ? ParseUserId(r.text) : std::nullopt;
        out.ok = id.has_value();
        out.userId = id.value_or(0);
        return out;
      },
      [this, o, s](const Outcome& out) {
        for (const auto& l : out.lines) Log(Q(l));
        if (!out.ok) return;
        const Built line = SpectatorLine(s, out.userId);
        if (!line.ok()) return Report("旁观", line.error);
        if (processes_.Running(kOwnSeat)) processes_.Stop(kOwnSeat);
        LaunchOwnSeat(o, line.line, Mode::kSpectator);
      });
}

void HallWindow::Leave() {
  Ask(LeavePurpose::kLeave, true);
}

void HallWindow::CloseHall(bool askPlayer) {
  closeAsks_ = askPlayer;
  close();
}

std::string HallWindow::RunningCaption() const {
  HallOptions o = form_->Read(options_);
  if (!ownAccount_.empty()) o.account = ownAccount_;
  return OwnCaption(o);
}

void HallWindow::Ask(LeavePurpose purpose, bool askPlayer, std::function<void()> then) {
  if (box_ != nullptr) {
    box_->disconnect(this);
    box_->close();
    box_ = nullptr;
  }
  question_ = Question{++serial_, purpose, FirstQuestion(purpose), askPlayer, std::move(then)};
  SendToOwnSeat(question_->asked);
}

void HallWindow::SendToOwnSeat(std::uint32_t msg) {
  const int serial = question_->serial;
  const std::string caption = RunningCaption();
  RunInBackground(
      pool_, this,
      [caption, msg] {
        Outcome out;
        out.result = link::SendMessage(caption, msg, 0, 0);
        return out;
      },
      [this, msg, serial](const Outcome& out) {
        Log(Q(RequestText(msg, out.result)));
        if (!question_ || question_->serial != serial || question_->asked != msg) return;
        if (!out.result.has_value()) {
          // No table client answers: nobody holds the player at a table.
          if (question_->purpose == LeavePurpose::kLeave) return question_.reset();
          return Finish();
        }
        if (msg == kLeaveNow) return Finish();  // the leave order has no answer
        QTimer::singleShot(kAnswerTimeoutMs, this, [this, msg, serial] {
          if (!question_ || question_->serial != serial || question_->asked != msg) return;
          Log("tallow did not answer " + Q(NotificationText(msg)));
          if (question_->purpose == LeavePurpose::kClose) return Finish();
          question_.reset();
        });
      });
}

void HallWindow::OnAnswer(std::uint32_t msg) {
  if (!question_) return;
  switch (StepForAnswer(question_->asked, msg)) {
    case LeaveStep::kNothing:
      return;
    case LeaveStep::kDone:
      return Finish();
    case LeaveStep::kOfferLeaveOrder:
      if (question_->askPlayer) return OfferLeaveOrder();
      [[fallthrough]];
    case LeaveStep::kSendLeaveOrder:
      question_->asked = kLeaveNow;
      return SendToOwnSeat(kLeaveNow);
    case LeaveStep::kLoginPending:
      // A login takes a moment: ask again a few times before telling the player.
      if (++question_->loginWaits <= kLoginRetries) {
        const int serial = question_->serial;
        question_->asked = 0;
        QTimer::singleShot(kLoginRetryMs, this, [this, serial] {
          if (!question_ || question_->serial != serial) return;
          question_->asked = FirstQuestion(question_->purpose);
          SendToOwnSeat(question_->asked);
        });
        return;
      }
      if (!question_->askPlayer) return Finish();
      question_.reset();
      return TellPlayer(QString::fromUtf8("正在登录游戏服务器，请稍后再试。"));
  }
}

void HallWindow::OfferLeaveOrder() {
  question_->asked = 0;  // the player answers now, not the client
  const char* what = "现在离开";
  if (question_->purpose == LeavePurpose::kClose) what = "关闭大厅";
  if (question_->purpose == LeavePurpose::kMove) what = "换到别处";
  auto* box = new QMessageBox(QMessageBox::Question, windowTitle(),
                              QString::fromUtf8("游戏正在进行中，%1将放弃这一局。\n要强制离开吗？")
                                  .arg(QString::fromUtf8(what)),
                              QMessageBox::NoButton, this);
  QPushButton* leave = box->addButton(QString::fromUtf8("强制离开"), QMessageBox::AcceptRole);
  box->addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
  box->setAttribute(Qt::WA_DeleteOnClose);
  const int serial = question_->serial;
  connect(box, &QMessageBox::finished, this, [this, box, leave, serial] {
    if (box_ == box) box_ = nullptr;
    if (!question_ || question_->serial != serial) return;
    if (box->clickedButton() != leave) {
      Log(QString::fromUtf8("留在桌上 (the player stays at the table)"));
      return question_.reset();
    }
    question_->asked = kLeaveNow;
    SendToOwnSeat(kLeaveNow);
  });
  box_ = box;
  Log(QString::fromUtf8("a game is running: the leave order is offered 游戏进行中"));
  box->open();
}

void HallWindow::TellPlayer(const QString& text) {
  Log(text);
  auto* box = new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void HallWindow::Finish() {
  const Question q = std::move(*question_);
  question_.reset();
  switch (q.purpose) {
    case LeavePurpose::kLeave:
      Log(QString::fromUtf8("left the table 已离开"));
      break;
    case LeavePurpose::kClose:
      closing_ = true;
      close();
      break;
    case LeavePurpose::kMove:
      if (q.then) q.then();
      break;
  }
}

void HallWindow::FillWithRobots(int count) {
  const HallOptions o = form_->Read(options_);
  if (auto e = CheckPort(o.SeatingPort()); !e.empty()) return Report("机器人", "seating " + e);
  std::set<int> running;
  for (int k = 0; k < 4; ++k) {
    if (processes_.Running(RobotKey(RobotNumber(o.table, k)))) running.insert(k);
  }
  RunInBackground(
      pool_, this,
      [o, running, count] {
        Outcome out;
        const SeatingReply tables = SeatingCommand(o.host, o.SeatingPort(), kTablesCommand);
        out.lines.push_back("seating: tables → " + tables.text);
        if (!tables.ok) return out;
        for (int k : RobotSeats(ParseTables(tables.text), o.table, o.seat, running, count)) {
          const int n = RobotNumber(o.table, k);
          if (Seating(out, o, RobotCommand(o.table, k)) &&
              Seating(out, o, SeatCommand(RobotAccount(n), o.table, k))) {
            out.seats.push_back(k);
          }
        }
        if (out.seats.empty()) out.lines.push_back("no free seat for a robot");
        out.ok = true;
        return out;
      },
      [this, o](const Outcome& out) {
        for (const auto& l : out.lines) Log(Q(l));
        for (int k : out.seats) LaunchRobot(o, k);
      });
}

void HallWindow::LaunchOwnSeat(const HallOptions& o, const std::string& line, Mode mode) {
  LaunchSpec launch;
  launch.key = kOwnSeat;
  launch.label = Q((mode == Mode::kSpectator ? "tallow 旁观 (" : "tallow (") + o.account + ")");
  launch.program = client_;
  launch.line = Q(line);
  launch.appDir = SeatDir(o.account);
  launch.offscreen = RobotHall();
  launch.assetsDir = assets_;
  QString error;
  if (!processes_.Start(launch, error)) return Log(error);
  ownMode_ = mode;
  ownAccount_ = o.account;
}

void HallWindow::LaunchRobot(const HallOptions& o, int seat) {
  const int n = RobotNumber(o.table, seat);
  if (processes_.Running(RobotKey(n))) return;
  if (link::WindowExists(RobotHallCaption(n))) {
    return Log("robot " + QString::number(n) + " belongs to another hall");
  }
  // The robot's hall: a window of this process that nobody sees, answering restore and minimise.
  auto hall = std::make_unique<platform::qt::QtHallLink>();
  const QString name = "robot " + QString::number(n);
  const bool listening = hall->Listen(
      RobotHallCaption(n), [this, name](std::uint32_t msg, std::uint32_t, std::uint32_t) {
        if (msg != kSysCommand) Log(name + ": " + Q(NotificationText(msg)));
        return 0;
      });
  if (!listening) return Log("cannot listen as " + Q(RobotHallCaption(n)));
  SeatLine s{RobotAccount(n),     "", o.host, o.port,
             RoomName(o.table),   {}, true,   RobotHallCaption(n),
             RobotTableCaption(n)};
  const Built line = PlayerLine(s);
  if (!line.ok()) return Report("机器人", line.error);
  LaunchSpec launch{RobotKey(n), name,   client_, Q(line.line), SeatDir(RobotAccount(n)),
                    true,        assets_};
  QString error;
  if (!processes_.Start(launch, error)) return Log(error);
  robotHalls_[n] = std::move(hall);
}

void HallWindow::closeEvent(QCloseEvent* event) {
  const bool ask = std::exchange(closeAsks_, true);
  if (!closing_ && processes_.Running(kOwnSeat)) {
    // The player leaves the table first; the hall closes when he has left.
    event->ignore();
    const bool asking = question_ && question_->purpose == LeavePurpose::kClose;
    if (!asking || (question_->askPlayer && !ask)) Ask(LeavePurpose::kClose, ask);
    return;
  }
  if (!options_.grab.empty()) {
    const QString path = Q(options_.grab);
    if (!grab().save(path, "PNG"))
      std::fprintf(stderr, "tallow-hall: cannot save %s\n", options_.grab.c_str());
  }
  processes_.StopAll();
  robotHalls_.clear();
  link_.StopListening();
  event->accept();
}

}  // namespace tallow::hall
