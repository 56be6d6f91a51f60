#include "main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindowStateChangeEvent>

#include "about_box.h"
#include "app_icons.h"
#include "display_text.h"
#include "event_log.h"
#include "fonts.h"
#include "help.h"
#include "option_dlg.h"
#include "phone_list_dlg.h"

namespace mokuro {

TMainForm* MainForm = nullptr;

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// Return presses the focused button, as Space does.
QPushButton* PanelButton(QWidget* panel, const char* text, int top) {
  auto* button = new QPushButton(Text(text), panel);
  button->setGeometry(0, top, 75, 20);
  button->setAutoDefault(true);
  return button;
}

// The memo shows line breaks as the adapter sends them, CR LF.
QString MemoDisplayText(const std::string& bytes) {
  QString text = ToDisplay(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.remove(QLatin1Char('\r'));
  return text;
}

}  // namespace

TMainForm::TMainForm(ProgramOptions options)
    : QWidget(nullptr), FMessages(this), FApp(std::make_unique<MokuroApp>(*this, std::move(options))) {
  MainForm = this;
  CreateControls();
  FormCreate();
}

TMainForm::~TMainForm() {
  FormDestroy();
  // The program goes while the controls it shows on are still there.
  FApp.reset();
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::CreateControls() {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  // Without a notification area the window hides by minimising, so it needs the box.
  if (!TTrayIcon::Available()) flags |= Qt::WindowMinimizeButtonHint;
  setWindowFlags(flags);
  setWindowTitle(Text("Mokuro"));
  setFixedSize(480, 230);
  setFont(UiFont(12));

  Label1 = new QLabel(Text("相手"), this);
  Label1->setGeometry(8, 13, 24, 12);

  CallerEdit = new QLineEdit(this);
  CallerEdit->setGeometry(40, 6, 233, 24);
  CallerEdit->setReadOnly(true);
  CallerEdit->setFont(UiFont(16));

  TimerCkb = new QCheckBox(Text("自動着信確認(&A)"), this);
  // As wide as the room left of the panel allows, the text condensed where the stand-in
  // font runs wider.
  TimerCkb->setGeometry(288, 11, 110, 17);
  TimerCkb->setFont(CondensedToFit(font(), TimerCkb->text(), 110 - 20));

  Memo1 = new QPlainTextEdit(this);
  Memo1->setGeometry(8, 40, 385, 185);
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setFont(FixedFont(12));
  Memo1->viewport()->installEventFilter(this);

  Panel1 = new QWidget(this);
  Panel1->setGeometry(480 - 80, 0, 80, 230);
  HideBtn = PanelButton(Panel1, "隠す(&I)", 8);
  ChargeBtn = PanelButton(Panel1, "累積料金(&C)", 32);
  DialInfoBtn = PanelButton(Panel1, "発信番号(&D)", 56);
  RxInfoBtn = PanelButton(Panel1, "着信番号(&R)", 80);
  PhoneListBtn = PanelButton(Panel1, "電話帳(&L)...", 104);
  OptionBtn = PanelButton(Panel1, "設定(&O)...", 128);
  HelpBtn = PanelButton(Panel1, "ヘルプ(&H)", 152);
  AboutBtn = PanelButton(Panel1, "ﾊﾞｰｼﾞｮﾝ(&V)...", 176);
  ExitBtn = PanelButton(Panel1, "終了(&X)", 200);

  QWidget* order[] = {HideBtn, ChargeBtn, DialInfoBtn, RxInfoBtn, PhoneListBtn, OptionBtn,
                      HelpBtn, AboutBtn,  ExitBtn,     TimerCkb,  CallerEdit,   Memo1};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  // The window opens with the focus on the first control of the tab order.
  HideBtn->setFocus();

  Timer1 = new IntervalTimer(this);
  Timer1->SetInterval(5000);
  TrayIcon1 = new TTrayIcon(this);

  connect(HideBtn, &QPushButton::clicked, this, [this] { HideBtnClick(); });
  connect(ChargeBtn, &QPushButton::clicked, this, [this] { ChargeBtnClick(); });
  connect(DialInfoBtn, &QPushButton::clicked, this, [this] { DialInfoBtnClick(); });
  connect(RxInfoBtn, &QPushButton::clicked, this, [this] { RxInfoBtnClick(); });
  connect(PhoneListBtn, &QPushButton::clicked, this, [this] { PhoneListBtnClick(); });
  connect(OptionBtn, &QPushButton::clicked, this, [this] { OptionBtnClick(); });
  connect(HelpBtn, &QPushButton::clicked, this, [this] { HelpBtnClick(); });
  connect(AboutBtn, &QPushButton::clicked, this, [this] { AboutBtnClick(); });
  connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtnClick(); });
  connect(TimerCkb, &QCheckBox::clicked, this, [this] { TimerCkbClick(); });
  Timer1->OnTimer = [this] { Timer1Timer(); };
  TrayIcon1->OnMouseDown = [this] { TrayIcon1MouseDown(); };
}

void TMainForm::FormCreate() {
  const QIcon icon = ApplicationIcon();
  setWindowIcon(icon);
  TrayIcon1->SetIcon(TrayIconImage());
  TrayIcon1->SetTipHelp(QApplication::applicationName());
  TrayIcon1->SetVisible(true);
  LogEvent(TTrayIcon::Available() ? "tray icon shown" : "no notification area: hiding minimises");
  FApp->Start();
}

void TMainForm::FormDestroy() {
  if (FDestroyed) return;
  FDestroyed = true;
  FApp->Stop();
}

bool TMainForm::WindowShown() const { return isVisible() && !isMinimized(); }

void TMainForm::HideBtnClick() {
  if (TTrayIcon::Available()) {
    hide();
  } else {
    FMinimisedByHide = true;
    showMinimized();
  }
  FApp->WindowHidden();
}

void TMainForm::TrayIcon1MouseDown() {
  if (WindowShown()) return;
  LogEvent("window shown from the tray");
  FMinimisedByHide = false;
  showNormal();
  Restored();
}

void TMainForm::Restored() {
  FApp->WindowRestored();
  HideBtn->setFocus();
}

void TMainForm::TimerCkbClick() { FApp->SetAutoCheck(TimerCkb->isChecked()); }

void TMainForm::ShowAutoCheck(bool on) {
  TimerCkb->setChecked(on);
  ChargeBtn->setEnabled(!on);
  DialInfoBtn->setEnabled(!on);
  RxInfoBtn->setEnabled(!on);
}

void TMainForm::Timer1Timer() { FApp->Tick(); }

void TMainForm::ChargeBtnClick() { FApp->IssueQuery(qkCharge); }
void TMainForm::DialInfoBtnClick() { FApp->IssueQuery(qkDialInfo); }
void TMainForm::RxInfoBtnClick() { FApp->IssueQuery(qkRxInfo); }

void TMainForm::Memo1MouseDown(Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::ShiftModifier) && modifiers.testFlag(Qt::ControlModifier)) FApp->SaveMemo();
}

void TMainForm::ExitBtnClick() { close(); }

void TMainForm::PhoneListBtnClick() {
  TPhoneList book = FApp->PhoneList();
  RunPhoneListDialog(this, FApp->CallerText(), book, FApp->DataDir(), FMessages);
  FApp->SetPhoneList(std::move(book));
}

void TMainForm::OptionBtnClick() {
  int interval = FApp->TimerInterval();
  RunOptionDialog(this, FApp->EditableSettings(), interval, [this](const std::string& port) { FApp->ChangePort(port); });
  FApp->SetTimerInterval(interval);
}

void TMainForm::HelpBtnClick() { OpenHelp(this, FMessages); }

void TMainForm::AboutBtnClick() { RunAboutBox(this, windowIcon()); }

void TMainForm::ShowMemoText(const std::string& text) { Memo1->setPlainText(MemoDisplayText(text)); }

void TMainForm::ShowCallerText(const std::string& text, CodePage page) {
  CallerEdit->setText(DisplayCodec(page).Decode(text));
}

void TMainForm::ShowWindow() {
  FMinimisedByHide = false;
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void TMainForm::Beep() { QApplication::beep(); }

void TMainForm::ShowMessage(const std::string& text) { FMessages.ShowMessage(text); }

void TMainForm::ShowConfirmMessage(const std::string& text) { ShowConfirmBox(this, text); }

void TMainForm::ShowLastErrorMessage(const std::string& text) { ShowLastErrorBox(text); }

void TMainForm::ShowErrorMessage(const std::string& text) { ShowErrorBox(text); }

void TMainForm::PostToMainThread(std::function<void()> task) {
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void TMainForm::StartTimer(int intervalMs) {
  Timer1->SetInterval(intervalMs);
  Timer1->SetEnabled(true);
}

void TMainForm::StopTimer() { Timer1->SetEnabled(false); }

void TMainForm::MoveWindow(int left, int top) { move(left, top); }

void TMainForm::closeEvent(QCloseEvent* event) {
  event->accept();
  QApplication::quit();
}

void TMainForm::showEvent(QShowEvent* event) {
  FShownOnce = true;
  QWidget::showEvent(event);
}

void TMainForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !FMinimisedByHide) return;
  // Without a tray, coming back from the task bar is what a tray click would be.
  const auto* change = static_cast<QWindowStateChangeEvent*>(event);
  if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) {
    FMinimisedByHide = false;
    LogEvent("window restored from the task bar");
    Restored();
  }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonPress) {
    Memo1MouseDown(static_cast<QMouseEvent*>(event)->modifiers());
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace mokuro
