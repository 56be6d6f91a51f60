#include "option_dlg.h"

#include <QAbstractItemView>
#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "alt_keys.h"
#include "dialog_frame.h"
#include "display_text.h"
#include "editable_bytes.h"
#include "help.h"
#include "message_boxes.h"
#include "serial_devices.h"
#include "text_fit.h"
#include "up_down.h"

namespace mokuro {

TOptionDlg* OptionDlg = nullptr;

namespace {

constexpr const char* kStandardPorts[] = {"COM1", "COM2", "COM3", "COM4"};
constexpr const char* kClosingDays[] = {"5日", "10日", "15日", "20日", "25日", "月末"};
constexpr int kClosingDayCount = 6;

// The remainder that is never negative, so that every day and index maps onto the items.
int Modulo(int value, int divisor) { return ((value % divisor) + divisor) % divisor; }
int FloorDiv(int value, int divisor) { return (value - Modulo(value, divisor)) / divisor; }

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

template <class Widget>
Widget* Place(Widget* widget, int left, int top, int width, int height) {
  widget->setGeometry(left, top, width, height);
  return widget;
}

// A label as wide as its text, its mnemonic moving the focus to `buddy`.
QLabel* MakeLabel(QWidget* parent, const char* text, int left, int top, QWidget* buddy) {
  auto* label = new QLabel(Text(text), parent);
  if (buddy != nullptr) label->setBuddy(buddy);
  label->move(left, top);
  label->adjustSize();
  return label;
}

QFrame* MakeBevel(QWidget* parent, int left, int top, int width, int height) {
  auto* bevel = Place(new QFrame(parent), left, top, width, height);
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  return bevel;
}

// At least as wide as its text needs: the stand-in fonts run a little wider.
QCheckBox* MakeCheckBox(QWidget* parent, const char* text, int left, int top, int width) {
  auto* box = new QCheckBox(Text(text), parent);
  box->setGeometry(left, top, std::max(width, box->sizeHint().width()), 17);
  // Opaque, so that a box that stands on a frame's edge hides the edge behind its text.
  box->setAutoFillBackground(true);
  return box;
}

// Return presses the focused button; elsewhere it presses the default one.
QPushButton* MakeButton(QWidget* parent, const char* text, int left) {
  auto* button = Place(new QPushButton(Text(text), parent), left, 180, 75, 25);
  button->setAutoDefault(true);
  return button;
}

void Widen(QWidget* widget, int pixels) { widget->resize(widget->width() + pixels, widget->height()); }
void Shift(QWidget* widget, int pixels) { widget->move(widget->x() + pixels, widget->y()); }

// A combo box at least as wide as its widest item needs.
void FitItems(QComboBox* combo, int items) {
  int shortfall = 0;
  for (int i = 0; i < items; ++i) shortfall = std::max(shortfall, TextShortfall(*combo, combo->itemText(i)));
  Widen(combo, shortfall);
}

// A spin edit wide enough for its largest number; its buttons and `next` move along.
void FitSpinEdit(QLineEdit* edit, TUpDown* upDown, int max, QWidget* next) {
  const int shortfall = TextShortfall(*edit, QString::number(max));
  Widen(edit, shortfall);
  Shift(upDown, shortfall);
  if (next != nullptr) Shift(next, shortfall);
}

// An edit of the AT command group with its label at the left of the row.
QLineEdit* MakeCommandRow(QGroupBox* group, const char* label, int top, QLabel*& labelOut) {
  auto* edit = Place(new QLineEdit(group), 88, top, 81, 20);
  labelOut = MakeLabel(group, label, 16, 0, edit);
  labelOut->move(16, top + (20 - labelOut->height()) / 2);
  return edit;
}

}  // namespace

int ClearDayFromIndex(int index) { return Modulo(index + 1, kClosingDayCount) * 5 + 1; }

int IndexFromClearDay(int day) { return Modulo(FloorDiv(day, 5) + 5, kClosingDayCount); }

TOptionDlg::TOptionDlg(QWidget* owner, const std::vector<std::string>& devicePorts) : QDialog(owner) {
  OptionDlg = this;
  SetUpDialogFrame(*this, "設定", 369, 214);

  Bevel1 = MakeBevel(this, 8, 8, 353, 161);
  Bevel2 = MakeBevel(this, 16, 48, 153, 65);

  TimerEdit = Place(new QLineEdit(this), 144, 16, 17, 20);
  TimerUpDwn = Place(new TUpDown(TimerEdit, 1, 99, this), 161, 16, 15, 20);
  Label6 = MakeLabel(this, "自動着信確認タイマ(&T)", 24, 16, TimerEdit);
  Label7 = MakeLabel(this, "秒", 176, 16, nullptr);
  FitSpinEdit(TimerEdit, TimerUpDwn, 99, Label7);

  PortCombo = Place(new QComboBox(this), 280, 16, 57, 20);
  for (const char* port : kStandardPorts) PortCombo->addItem(Text(port), QByteArray(port));
  for (const auto& port : devicePorts) PortCombo->addItem(ToDisplay(port), QByteArray::fromStdString(port));
  FitItems(PortCombo, static_cast<int>(std::size(kStandardPorts)));
  // Device paths are longer than the box: the list opens wide enough for them.
  PortCombo->view()->setMinimumWidth(PortCombo->view()->sizeHintForColumn(0) + 24);
  connect(PortCombo, &QComboBox::currentTextChanged, PortCombo, &QComboBox::setToolTip);
  Label1 = MakeLabel(this, "通信ポート(&P)", 208, 16, PortCombo);

  ChrgClrChk = MakeCheckBox(this, "自動累積料金クリア(&A)", 24, 40, 137);
  TotalingDayCombo = Place(new QComboBox(this), 112, 64, 49, 20);
  for (const char* day : kClosingDays) TotalingDayCombo->addItem(Text(day));
  FitItems(TotalingDayCombo, kClosingDayCount);
  Label8 = MakeLabel(this, "料金集計日(&U)", 32, 64, TotalingDayCombo);
  MonthlyLogChk = MakeCheckBox(this, "毎月の料金を記録(&M)", 32, 88, 129);

  CurrentLogChk = MakeCheckBox(this, "現時点の料金を記録(&N)", 24, 120, 145);
  CLogCntEdit = Place(new QLineEdit(this), 136, 136, 17, 20);
  CLogCntUpDwn = Place(new TUpDown(CLogCntEdit, 0, 9, this), 153, 136, 15, 20);
  FitSpinEdit(CLogCntEdit, CLogCntUpDwn, 9, nullptr);
  Label9 = MakeLabel(this, "バックアップ数(&B)", 40, 144, CLogCntEdit);

  ATCmdGrp = Place(new QGroupBox(Text("ＡＴコマンド"), this), 176, 40, 177, 121);
  ATRxInfoEdit = MakeCommandRow(ATCmdGrp, "着信番号(&R)", 16, Label2);
  ATDialInfoEdit = MakeCommandRow(ATCmdGrp, "発信番号(&D)", 40, Label3);
  ATChargeEdit = MakeCommandRow(ATCmdGrp, "累積料金(&C)", 64, Label4);
  ATChrgClrEdit = MakeCommandRow(ATCmdGrp, "料金クリア(&L)", 88, Label5);

  OKBtn = MakeButton(this, "OK", 71);
  OKBtn->setDefault(true);
  CancelBtn = MakeButton(this, "キャンセル", 151);
  HelpBtn = MakeButton(this, "ヘルプ(&H)", 232);

  // The spin buttons take no focus (their edits' Up and Down keys step them), and a link
  // to a control without focus would break the chain there.
  QWidget* const tabOrder[] = {OKBtn,         CancelBtn,     HelpBtn,        TimerEdit,    ChrgClrChk,
                               TotalingDayCombo, MonthlyLogChk, CurrentLogChk, CLogCntEdit,  PortCombo,
                               ATRxInfoEdit,  ATDialInfoEdit, ATChargeEdit,  ATChrgClrEdit};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  OKBtn->setFocus();
  KeepAltKeysFromTyping(*this);

  connect(ChrgClrChk, &QCheckBox::clicked, this, &TOptionDlg::ChrgClrChkClick);
  connect(CurrentLogChk, &QCheckBox::clicked, this, &TOptionDlg::CurrentLogChkClick);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, &TOptionDlg::HelpBtnClick);
}

TOptionDlg::~TOptionDlg() {
  if (OptionDlg == this) OptionDlg = nullptr;
}

void TOptionDlg::Fill(const Settings& settings, int timerIntervalMs) {
  const QString port = ToDisplay(settings.FPortName);
  shownPortIndex_ = 0;
  for (int i = 0; i < PortCombo->count(); ++i) {
    if (PortCombo->itemText(i).compare(port, Qt::CaseInsensitive) == 0) {
      shownPortIndex_ = i;
      break;
    }
  }
  PortCombo->setCurrentIndex(shownPortIndex_);

  TimerUpDwn->SetPosition(timerIntervalMs / 1000);

  ChrgClrChk->setChecked(settings.FChrgClr);
  TotalingDayCombo->setCurrentIndex(IndexFromClearDay(settings.FChrgClrDay));
  MonthlyLogChk->setChecked(settings.FMonthlyLog);
  CurrentLogChk->setChecked(settings.FCurrentLog);
  CLogCntUpDwn->SetPosition(settings.FCLogBackup);

  commands_.clear();
  for (const auto& [edit, bytes] : {std::pair{ATRxInfoEdit, &settings.FATRxInfo},
                                    {ATDialInfoEdit, &settings.FATDialInfo},
                                    {ATChargeEdit, &settings.FATCharge},
                                    {ATChrgClrEdit, &settings.FATChrgClr}}) {
    commands_.push_back(std::make_unique<EditableBytes>(std::vector<std::string>{*bytes}));
    edit->setText(commands_.back()->Show(*bytes));
  }
}

void TOptionDlg::Apply(Settings& settings, int& timerIntervalMs,
                       const std::function<void(const std::string&)>& changePort) const {
  if (PortCombo->currentIndex() != shownPortIndex_) {
    changePort(PortCombo->currentData().toByteArray().toStdString());
  }

  timerIntervalMs = TimerUpDwn->Position() * 1000;

  settings.FChrgClr = ChrgClrChk->isChecked();
  settings.FChrgClrDay = ClearDayFromIndex(TotalingDayCombo->currentIndex());
  settings.FMonthlyLog = MonthlyLogChk->isChecked();
  settings.FCurrentLog = CurrentLogChk->isChecked();
  settings.FCLogBackup = CLogCntUpDwn->Position();

  settings.FATRxInfo = commands_[0]->TakeBack(ATRxInfoEdit->text());
  settings.FATDialInfo = commands_[1]->TakeBack(ATDialInfoEdit->text());
  settings.FATCharge = commands_[2]->TakeBack(ATChargeEdit->text());
  settings.FATChrgClr = commands_[3]->TakeBack(ATChrgClrEdit->text());
}

void TOptionDlg::UpdateControls() {
  const bool clearing = ChrgClrChk->isChecked();
  TotalingDayCombo->setEnabled(clearing);
  MonthlyLogChk->setEnabled(clearing);
  const bool snapshots = CurrentLogChk->isChecked();
  CLogCntEdit->setEnabled(snapshots);
  CLogCntUpDwn->setEnabled(snapshots);
}

void TOptionDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TOptionDlg::FormShow() { UpdateControls(); }

void TOptionDlg::ChrgClrChkClick() {
  UpdateControls();
  if (isVisible() && ChrgClrChk->isChecked()) {
    QtPlainMessageBox(this).ShowMessage(
        "この機能を利用するには、「ＡＴコマンドの料金クリア」と\n「料金集計日」を正しく設定しておく必要があります");
  }
}

void TOptionDlg::CurrentLogChkClick() { UpdateControls(); }

void TOptionDlg::HelpBtnClick() {
  QtPlainMessageBox messages(this);
  OpenHelp(this, messages);
}

void RunOptionDialog(QWidget* owner, Settings& settings, int& timerIntervalMs,
                     const std::function<void(const std::string&)>& changePort) {
  TOptionDlg dialog(owner, SerialDeviceNames());
  dialog.Fill(settings, timerIntervalMs);
  if (dialog.exec() == QDialog::Accepted) dialog.Apply(settings, timerIntervalMs, changePort);
}

}  // namespace mokuro
