// SPDX-License-Identifier: MIT
// The options dialog: editing, shortcut keys, testing, evaluation, feedback and speech settings.
#include "dialogs/OptDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <span>

#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"
#include "text/Languages.h"
#include "text/Matching.h"
#include "text/ShortcutKeys.h"

namespace {
constexpr int kHelpTopic = 3041;
constexpr int kSpeechGap = 12;  // between the groups of the Speech page

struct TColourRow {
  const char* Name;
  uint32_t Value;  // 0x00BBGGRR
};
constexpr std::array<TColourRow, 16> kColours = {{{"Black", 0x000000},
                                                  {"Maroon", 0x000080},
                                                  {"Green", 0x008000},
                                                  {"Olive", 0x008080},
                                                  {"Navy", 0x800000},
                                                  {"Purple", 0x800080},
                                                  {"Teal", 0x808000},
                                                  {"Grey", 0x808080},
                                                  {"Silver", 0xC0C0C0},
                                                  {"Red", 0x0000FF},
                                                  {"Lime", 0x00FF00},
                                                  {"Yellow", 0x00FFFF},
                                                  {"Blue", 0xFF0000},
                                                  {"Fuchsia", 0xFF00FF},
                                                  {"Aqua", 0xFFFF00},
                                                  {"White", 0xFFFFFF}}};

const char* const kPassiveRows[] = {"Ignore capitalization",
                                    "Ignore punctuation",
                                    "Ignore spacing",
                                    "Treat text in brackets as optional",
                                    "Treat words separated by / as alternatives",
                                    "Accept translations in any order",
                                    "Accept any correct translation",
                                    "Ignore accents",
                                    "Accept one typing slip"};
const char* const kActiveRows[] = {"Ignore capitalization",
                                   "Ignore punctuation",
                                   "Ignore spacing",
                                   "Treat text in brackets as optional",
                                   "Treat words separated by / as alternatives",
                                   "Accept synonyms in any order",
                                   "Accept any correct synonym",
                                   "Ignore accents",
                                   "Accept one typing slip"};
const char* const kEnglishRows[] = {"Allow auxiliary verb contractions",
                                    "Allow omission of 'to' before verbs",
                                    "Allow substitution of '-ize' and '-ise'"};
static_assert(std::size(kPassiveRows) == kDirectionOptionItems.size());
static_assert(std::size(kActiveRows) == kDirectionOptionItems.size());
static_assert(std::size(kEnglishRows) == kEnglishOptionItems.size());

QColor ToQColor(uint32_t value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// The swatch of a colour row: one and a half times as wide as the row is high, inset by two.
QIcon Swatch(uint32_t value, int height) {
  const int width = height * 3 / 2;
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.setBrush(ToQColor(value));
  painter.drawRect(QRect(QPoint(2, 2), QPoint(width - 2, height - 3)));
  return QIcon(pixmap);
}

void FillColours(QComboBox* combo) {
  const int height = combo->fontMetrics().height() + 5;
  combo->setIconSize(QSize(height * 3 / 2, height));
  for (const TColourRow& row : kColours) {
    combo->addItem(Swatch(row.Value, height), QObject::tr(row.Name), row.Value);
  }
}

void SelectColour(QComboBox* combo, uint32_t value) {
  combo->setCurrentIndex(combo->findData(value));
}

// The colour of the selected row, or the stored one when none is selected.
uint32_t SelectedColour(const QComboBox* combo, uint32_t stored) {
  return combo->currentIndex() < 0 ? stored : combo->currentData().toUInt();
}

QListWidget* CreateCheckList(const char* name, std::span<const char* const> rows) {
  auto* list = new QListWidget;
  list->setObjectName(name);
  for (const char* row : rows) {
    auto* item = new QListWidgetItem(QObject::tr(row), list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  return list;
}

template <size_t N>
void LoadCheckList(QListWidget* list, const std::array<TMatchOptions, N>& bits, uint16_t flags) {
  for (size_t i = 0; i < N; ++i) {
    list->item(int(i))->setCheckState((flags & bits[i]) ? Qt::Checked : Qt::Unchecked);
  }
}

template <size_t N>
uint16_t StoreCheckList(const QListWidget* list, const std::array<TMatchOptions, N>& bits) {
  uint16_t flags = 0;
  for (size_t i = 0; i < N; ++i) {
    if (list->item(int(i))->checkState() == Qt::Checked) flags |= bits[i];
  }
  return flags;
}

QComboBox* CreateNumberCombo(const char* name, int from, int to) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  for (int n = from; n <= to; ++n) combo->addItem(QString::number(n));
  SetNumericOnly(combo);
  return combo;
}

// The key of a table entry in the platform's wording ("Ctrl+Shift+A").
QString ShortcutKeyName(uint16_t code) {
  const int key = code & 0xFF;
  // Letters have the same codes in both tables; F1 is 0x70.
  int qtKey = key >= kVkF1 ? Qt::Key_F1 + (key - kVkF1) : key;
  if (code & kScShift) qtKey |= Qt::SHIFT;
  if (code & kScCtrl) qtKey |= Qt::CTRL;
  if (code & kScAlt) qtKey |= Qt::ALT;
  return QKeySequence(qtKey).toString(QKeySequence::NativeText);
}

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}
}  // namespace

QString TrimSoundPath(const QString& path) {
  qsizetype begin = 0, end = path.size();
  while (begin < end && path[begin].unicode() <= 0x20) ++begin;
  while (end > begin && path[end - 1].unicode() <= 0x20) --end;
  return path.mid(begin, end - begin);
}

const std::array<std::pair<const char*, uint8_t>, 6>& TOptionsDialog::CharSets() {
  static const std::array<std::pair<const char*, uint8_t>, 6> sets = {{{"Western", 0},
                                                                       {"Baltic", 186},
                                                                       {"Central European", 238},
                                                                       {"Cyrillic", 204},
                                                                       {"Greek", 161},
                                                                       {"Turkish", 162}}};
  return sets;
}

QString TOptionsDialog::CharacterText(uint8_t code, uint8_t charset) {
  try {
    return QString::fromStdU16String(
        AnsiToWide(std::string(1, char(code)), CharsetLanguage(charset)));
  } catch (const std::exception&) {
    return QString();
  }
}

TOptionsDialog::TOptionsDialog(QWidget* owner, TOptionsData& data, uint16_t foreignLangId)
    : TDialog(owner, kHelpTopic), m_Data(data), m_ForeignLangID(foreignLangId) {
  setObjectName("OptionsDialog");
  setWindowTitle(tr("Options"));

  pcOptions = Named(new QTabWidget(this), "pcOptions");
  pcOptions->addTab(CreateGeneralPage(), tr("General"));
  pcOptions->addTab(CreateQuestionPage(), tr("Question"));
  pcOptions->addTab(CreateEvaluationPage(), tr("Evaluation"));
  pcOptions->addTab(CreateFeedbackPage(), tr("Feedback"));
  pcOptions->addTab(CreateSpeechPage(), tr("Speech"));
  SetHelpPages(pcOptions);

  CreateButtons();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pcOptions);
  layout->addWidget(ButtonRow());

  LoadControls();
  m_Page = std::clamp(m_Data.OptionsPage, 0, pcOptions->count() - 1);
  pcOptions->setCurrentIndex(m_Page);
  connect(pcOptions, &QTabWidget::currentChanged, this, &TOptionsDialog::PageChanged);
}

QWidget* TOptionsDialog::CreateGeneralPage() {
  auto* page = Named(new QWidget, "tsGeneral");
  auto* layout = new QVBoxLayout(page);

  auto* editing = new QGroupBox(tr(" Editing: "));
  auto* editingLayout = new QVBoxLayout(editing);
  chbAppendNewWords =
      Named(new QCheckBox(tr("&Add new words at end of list")), "chbAppendNewWords");
  chbConfirmDuplicates =
      Named(new QCheckBox(tr("&Warn if word already exists")), "chbConfirmDuplicates");
  chbConfirmNoSort =
      Named(new QCheckBox(tr("War&n if sorting position not specified")), "chbConfirmNoSort");
  chbConfirmNoCategory =
      Named(new QCheckBox(tr("Warn if &Part of Speech not specified")), "chbConfirmNoCategory");
  chbSkipNotes = Named(new QCheckBox(tr("&Tab past Part of Speech and Notes")), "chbSkipNotes");
  for (QCheckBox* box : {chbAppendNewWords, chbConfirmDuplicates, chbConfirmNoSort,
                         chbConfirmNoCategory, chbSkipNotes}) {
    editingLayout->addWidget(box);
  }
  cbColourLearnt = Named(new QComboBox, "cbColourLearnt");
  FillColours(cbColourLearnt);
  auto* learnt = new QFormLayout;
  auto* learntLabel = new QLabel(tr("&Display learnt items in:"));
  learntLabel->setBuddy(cbColourLearnt);
  learnt->addRow(learntLabel, cbColourLearnt);
  editingLayout->addLayout(learnt);
  layout->addWidget(editing);

  auto* shortcuts = new QGroupBox(tr(" Keyboard shortcuts: "));
  auto* grid = new QGridLayout(shortcuts);
  cbShortcut = Named(new QComboBox, "cbShortcut");
  for (const uint16_t code : ShortcutKeyTable()) cbShortcut->addItem(ShortcutKeyName(code));
  cbCharSet = Named(new QComboBox, "cbCharSet");
  for (const auto& [name, id] : CharSets()) cbCharSet->addItem(tr(name), id);
  cbCharacter = Named(new QComboBox, "cbCharacter");
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSizeF(cbCharacter->font().pointSizeF());
  cbCharacter->setFont(arial);
  for (int code = 32; code <= 255; ++code) {
    const bool letterOrDigit = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
                               (code >= 'a' && code <= 'z');
    if (!letterOrDigit) cbCharacter->addItem(QString(), code);
  }
  cbCharacter->setMaxVisibleItems(16);
  lblUnassigned = Named(new QLabel(tr("[unassigned]")), "lblUnassigned");
  btnClearAll = Named(new QPushButton(tr("Cl&ear All")), "btnClearAll");
  const auto label = [](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
  };
  grid->addWidget(label(tr("&Key:"), cbShortcut), 0, 0);
  grid->addWidget(cbShortcut, 0, 1, 1, 2);
  grid->addWidget(label(tr("&Character set:"), cbCharSet), 1, 0);
  grid->addWidget(cbCharSet, 1, 1, 1, 2);
  grid->addWidget(label(tr("Cha&racter:"), cbCharacter), 2, 0);
  grid->addWidget(cbCharacter, 2, 1);
  grid->addWidget(lblUnassigned, 2, 2);
  grid->addWidget(btnClearAll, 3, 2, Qt::AlignRight);
  grid->setColumnStretch(1, 1);
  layout->addWidget(shortcuts);

  chbKeyboardSwitching =
      Named(new QCheckBox(tr("A&utomatic keyboard switching")), "chbKeyboardSwitching");
  layout->addWidget(chbKeyboardSwitching);
  chbKeepHistory = Named(new QCheckBox(tr("Keep a stud&y history")), "chbKeepHistory");
  layout->addWidget(chbKeepHistory);
  layout->addStretch();

  connect(chbConfirmNoCategory, &QCheckBox::toggled, this, [this](bool checked) {
    // Warning about a missing part of speech and tabbing past it exclude each other.
    if (checked) chbSkipNotes->setChecked(false);
    chbSkipNotes->setEnabled(!checked);
  });
  connect(cbShortcut, &QComboBox::currentIndexChanged, this, &TOptionsDialog::ShowAssignment);
  connect(cbCharacter, &QComboBox::currentIndexChanged, this, &TOptionsDialog::CharacterChange);
  connect(cbCharSet, &QComboBox::currentIndexChanged, this, &TOptionsDialog::CharSetChange);
  connect(btnClearAll, &QPushButton::clicked, this, &TOptionsDialog::ClearAllClick);
  return page;
}

QWidget* TOptionsDialog::CreateQuestionPage() {
  auto* page = Named(new QWidget, "tsQuestion");
  auto* layout = new QVBoxLayout(page);

  auto* notes = new QGroupBox(tr(" Test Notes when translating into: "));
  auto* notesLayout = new QHBoxLayout(notes);
  chbTestNotesPassive = Named(new QCheckBox(tr("&Native language")), "chbTestNotesPassive");
  chbTestNotesActive = Named(new QCheckBox(tr("&Foreign language")), "chbTestNotesActive");
  notesLayout->addWidget(chbTestNotesPassive);
  notesLayout->addWidget(chbTestNotesActive);
  layout->addWidget(notes);

  auto* choice = new QGroupBox(tr(" Multiple choice: "));
  auto* choiceLayout = new QFormLayout(choice);
  cbNumChoices = CreateNumberCombo("cbNumChoices", kMinChoices, kMaxChoices);
  auto* choicesLabel = new QLabel(tr("Num&ber of items to choose from:"));
  choicesLabel->setBuddy(cbNumChoices);
  choiceLayout->addRow(choicesLabel, cbNumChoices);
  layout->addWidget(choice);

  auto* penalty = new QGroupBox(tr(" Penalty points: "));
  auto* penaltyLayout = new QFormLayout(penalty);
  chbUsePenaltyPoints = Named(new QCheckBox(tr("&Use penalty points to target difficult words")),
                              "chbUsePenaltyPoints");
  lblPenaltyPoints = Named(
      new QLabel(tr("Each incorrect response incurs a penalty point against that word, up to a "
                    "specified maximum. You must recall the word correctly one more time for "
                    "every point assigned.")),
      "lblPenaltyPoints");
  lblPenaltyPoints->setWordWrap(true);
  cbMaxPenaltyPoints =
      CreateNumberCombo("cbMaxPenaltyPoints", kMinPenaltyPoints, kMaxPenaltyPoints);
  lblMaxPenaltyPoints =
      Named(new QLabel(tr("&Maximum number of points per word:")), "lblMaxPenaltyPoints");
  lblMaxPenaltyPoints->setBuddy(cbMaxPenaltyPoints);
  penaltyLayout->addRow(chbUsePenaltyPoints);
  penaltyLayout->addRow(lblPenaltyPoints);
  penaltyLayout->addRow(lblMaxPenaltyPoints, cbMaxPenaltyPoints);
  layout->addWidget(penalty);

  chbDisallowHints =
      Named(new QCheckBox(tr("&Treat response as incorrect if Hint used")), "chbDisallowHints");
  layout->addWidget(chbDisallowHints);
  layout->addStretch();

  connect(chbUsePenaltyPoints, &QCheckBox::toggled, this, [this] { PenaltyPointsChange(false); });
  connect(chbUsePenaltyPoints, &QCheckBox::clicked, this, [this] { PenaltyPointsChange(true); });
  return page;
}

QWidget* TOptionsDialog::CreateEvaluationPage() {
  auto* page = Named(new QWidget, "tsEvaluation");
  auto* layout = new QGridLayout(page);
  clbPassive = CreateCheckList("clbPassive", kPassiveRows);
  clbEnglish = CreateCheckList("clbEnglish", kEnglishRows);
  clbActive = CreateCheckList("clbActive", kActiveRows);
  const auto add = [&](const QString& caption, QListWidget* list, int row, int column) {
    auto* label = new QLabel(caption);
    label->setBuddy(list);
    layout->addWidget(label, row, column);
    layout->addWidget(list, row + 1, column);
  };
  add(tr("&Native language:"), clbPassive, 0, 0);
  add(tr("&Foreign language:"), clbActive, 0, 1);
  add(tr("&English-specific:"), clbEnglish, 2, 0);
  // Each list as large as its rows, so no row is cut and nothing needs scrolling.
  for (QListWidget* list : {clbPassive, clbActive, clbEnglish}) {
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * list->frameWidth() + 4;
    list->setMinimumWidth(list->sizeHintForColumn(0) + frame);
    list->setFixedHeight(list->sizeHintForRow(0) * list->count() + frame);
  }
  layout->setRowStretch(4, 1);
  return page;
}

QWidget* TOptionsDialog::CreateFeedbackPage() {
  auto* page = Named(new QWidget, "tsFeedback");
  auto* layout = new QVBoxLayout(page);
  const auto soundRow = [this](QLineEdit*& field, const char* fieldName, QPushButton*& browse,
                               const char* browseName) {
    field = Named(new QLineEdit, fieldName);
    browse = Named(new QPushButton(QStringLiteral("...")), browseName);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
    connect(browse, &QPushButton::clicked, this, [this, field] { BrowseSound(field); });
    auto* row = new QHBoxLayout;
    row->addWidget(field);
    row->addWidget(browse);
    return row;
  };

  auto* right = new QGroupBox(tr(" Correct response: "));
  auto* rightLayout = new QGridLayout(right);
  rbAutoContinue = Named(new QRadioButton(tr("&Continue to next question")), "rbAutoContinue");
  rbColourRight = Named(new QRadioButton(tr("&Show expected answer in:")), "rbColourRight");
  cbColourRight = Named(new QComboBox, "cbColourRight");
  FillColours(cbColourRight);
  auto* rightSound = new QLabel(tr("&Play sound:"));
  auto* rightSoundRow =
      soundRow(edtSoundFileRight, "edtSoundFileRight", btnBrowseRight, "btnBrowseRight");
  rightSound->setBuddy(edtSoundFileRight);
  rightLayout->addWidget(rbAutoContinue, 0, 0, 1, 2);
  rightLayout->addWidget(rbColourRight, 1, 0);
  rightLayout->addWidget(cbColourRight, 1, 1);
  rightLayout->addWidget(rightSound, 2, 0);
  rightLayout->addLayout(rightSoundRow, 2, 1);
  layout->addWidget(right);

  auto* wrong = new QGroupBox(tr(" Incorrect response: "));
  auto* wrongLayout = new QGridLayout(wrong);
  cbColourWrong = Named(new QComboBox, "cbColourWrong");
  FillColours(cbColourWrong);
  auto* wrongColour = new QLabel(tr("Show &expected answer in:"));
  wrongColour->setBuddy(cbColourWrong);
  edtDelay = Named(new QLineEdit, "edtDelay");
  SetNumericOnly(edtDelay);
  auto* delay = new QLabel(tr("&Delay (seconds):"));
  delay->setBuddy(edtDelay);
  auto* wrongSound = new QLabel(tr("Play s&ound:"));
  auto* wrongSoundRow =
      soundRow(edtSoundFileWrong, "edtSoundFileWrong", btnBrowseWrong, "btnBrowseWrong");
  wrongSound->setBuddy(edtSoundFileWrong);
  wrongLayout->addWidget(wrongColour, 0, 0);
  wrongLayout->addWidget(cbColourWrong, 0, 1);
  wrongLayout->addWidget(delay, 1, 0);
  wrongLayout->addWidget(edtDelay, 1, 1);
  wrongLayout->addWidget(wrongSound, 2, 0);
  wrongLayout->addLayout(wrongSoundRow, 2, 1);
  layout->addWidget(wrong);
  layout->addStretch();

  connect(rbAutoContinue, &QRadioButton::toggled, this,
          [this](bool checked) { cbColourRight->setEnabled(!checked); });
  return page;
}

QWidget* TOptionsDialog::CreateSpeechPage() {
  auto* page = Named(new QWidget, "tsSpeech");
  auto* layout = new QVBoxLayout(page);
  chbSpeakQuestions =
      Named(new QCheckBox(tr("Speak each &question when it is shown")), "chbSpeakQuestions");
  chbSpeakAnswers =
      Named(new QCheckBox(tr("Speak the correct answer after a &wrong answer")), "chbSpeakAnswers");
  layout->addWidget(chbSpeakQuestions);
  layout->addWidget(chbSpeakAnswers);

  trkSpeechRate = Named(new QSlider(Qt::Horizontal), "trkSpeechRate");
  trkSpeechRate->setRange(kMinSpeechRate, kMaxSpeechRate);
  trkSpeechRate->setPageStep(5);
  trkSpeechRate->setTickInterval(5);
  trkSpeechRate->setTickPosition(QSlider::TicksBelow);
  auto* rateLabel = new QLabel(tr("Speaking &rate:"));
  rateLabel->setBuddy(trkSpeechRate);
  btnTrySpeech = Named(new QPushButton(tr("&Try")), "btnTrySpeech");
  btnTrySpeech->setEnabled(bool(m_Data.TrySpeech));
  auto* rate = new QGridLayout;
  rate->addWidget(rateLabel, 0, 0, 1, 3);
  rate->addWidget(new QLabel(tr("Slower")), 1, 0);
  rate->addWidget(trkSpeechRate, 1, 1);
  rate->addWidget(new QLabel(tr("Faster")), 1, 2);
  rate->addWidget(btnTrySpeech, 1, 3);
  rate->setColumnStretch(1, 1);
  layout->addSpacing(kSpeechGap);
  layout->addLayout(rate);

  auto* note =
      new QLabel(tr("Words are spoken by the desktop's speech service in the voice of "
                    "their language. More voices come with the package "
                    "speech-dispatcher-espeak-ng."));
  note->setWordWrap(true);
  layout->addSpacing(kSpeechGap);
  layout->addWidget(note);
  layout->addStretch();

  connect(btnTrySpeech, &QPushButton::clicked, this, [this] {
    if (m_Data.TrySpeech) m_Data.TrySpeech(trkSpeechRate->value());
  });
  return page;
}

void TOptionsDialog::LoadControls() {
  const TProgramOptions& o = m_Data.Options;
  chbAppendNewWords->setChecked(o.AppendNewWords);
  chbConfirmDuplicates->setChecked(o.ConfirmDuplicates);
  chbConfirmNoSort->setChecked(o.ConfirmNoSort);
  chbSkipNotes->setChecked(o.SkipNotes);
  chbConfirmNoCategory->setChecked(o.ConfirmNoCategory);
  chbSkipNotes->setEnabled(!o.ConfirmNoCategory);
  SelectColour(cbColourLearnt, o.LearntColour);
  chbKeyboardSwitching->setChecked(o.KeyboardSwitching);
  chbKeepHistory->setChecked(m_Data.KeepHistory);
  chbTestNotesPassive->setChecked(o.TestNotesPassive);
  chbTestNotesActive->setChecked(o.TestNotesActive);
  cbNumChoices->setEditText(QString::number(o.NumChoices));
  chbUsePenaltyPoints->setChecked(o.UsePenaltyPoints);
  cbMaxPenaltyPoints->setEditText(QString::number(o.MaxPenaltyPoints));
  PenaltyPointsChange(false);
  chbDisallowHints->setChecked(o.DisallowHints);
  LoadCheckList(clbPassive, kDirectionOptionItems, o.PassiveFlags);
  LoadCheckList(clbActive, kDirectionOptionItems, o.ActiveFlags);
  LoadCheckList(clbEnglish, kEnglishOptionItems, o.EnglishFlags);
  rbAutoContinue->setChecked(o.AutoContinue);
  rbColourRight->setChecked(!o.AutoContinue);
  cbColourRight->setEnabled(!o.AutoContinue);
  SelectColour(cbColourRight, o.RightColour);
  SelectColour(cbColourWrong, o.WrongColour);
  edtDelay->setText(QString::number(o.WrongDelay));
  edtSoundFileRight->setText(m_Data.RightSound);
  edtSoundFileWrong->setText(m_Data.WrongSound);
  chbSpeakQuestions->setChecked(m_Data.Speech.SpeakQuestions);
  chbSpeakAnswers->setChecked(m_Data.Speech.SpeakWrongAnswers);
  trkSpeechRate->setValue(m_Data.Speech.Rate);
  m_Chars = o.ShortcutChars;
  cbShortcut->setCurrentIndex(0);
  ShowAssignment();
}

void TOptionsDialog::PenaltyPointsChange(bool byUser) {
  const bool on = chbUsePenaltyPoints->isChecked();
  lblPenaltyPoints->setEnabled(on);
  lblMaxPenaltyPoints->setEnabled(on);
  cbMaxPenaltyPoints->setEnabled(on);
  if (!on) {
    cbMaxPenaltyPoints->setEditText(QString::number(m_Data.Options.MaxPenaltyPoints));
  } else if (byUser) {
    cbMaxPenaltyPoints->setFocus();
  }
}

void TOptionsDialog::ShowAssignment() {
  const int key = cbShortcut->currentIndex();
  if (key < 0) return;
  const TShortcutChar pair = m_Chars[size_t(key)];
  m_Updating = true;
  if (pair.Code != 0) {
    const int set = cbCharSet->findData(pair.Charset);
    cbCharSet->setCurrentIndex(set < 0 ? 0 : set);
    FillCharacters();
    const int row = cbCharacter->findData(pair.Code);
    cbCharacter->setCurrentIndex(row < 0 ? 0 : row);
  } else {
    const int set = cbCharSet->findData(LanguageCharset(m_ForeignLangID));
    cbCharSet->setCurrentIndex(set < 0 ? 0 : set);
    FillCharacters();
    cbCharacter->setCurrentIndex(0);
  }
  m_Updating = false;
  UpdateUnassigned();
}

void TOptionsDialog::FillCharacters() {
  const auto charset = static_cast<uint8_t>(cbCharSet->currentData().toUInt());
  // Row 0, the blank, stands for "no character".
  for (int row = 1; row < cbCharacter->count(); ++row) {
    const auto code = static_cast<uint8_t>(cbCharacter->itemData(row).toUInt());
    cbCharacter->setItemText(row, CharacterText(code, charset));
  }
}

void TOptionsDialog::CharacterChange() {
  if (m_Updating) return;
  const int key = cbShortcut->currentIndex();
  const int row = cbCharacter->currentIndex();
  if (key < 0 || row < 0) return;
  if (row == 0) {
    m_Chars[size_t(key)] = {};
  } else {
    m_Chars[size_t(key)] = {static_cast<uint8_t>(cbCharacter->currentData().toUInt()),
                            static_cast<uint8_t>(cbCharSet->currentData().toUInt())};
  }
  UpdateUnassigned();
}

void TOptionsDialog::CharSetChange() {
  if (m_Updating) return;
  FillCharacters();
  CharacterChange();
}

void TOptionsDialog::UpdateUnassigned() {
  lblUnassigned->setVisible(cbCharacter->currentIndex() <= 0);
  cbCharacter->update();
}

void TOptionsDialog::ClearAllClick() {
  if (ShowMessageBox(tr("Clear all shortcut key assignments?"), {}, kMbWarning) != kIdOk) return;
  m_Chars.fill({});
  cbShortcut->setCurrentIndex(0);
  ShowAssignment();
  cbShortcut->setFocus();
}

void TOptionsDialog::BrowseSound(QLineEdit* field) {
  const QFileInfo current(field->text().trimmed());
  TFileDialogRequest request;
  request.Title = tr("Browse");
  request.Filter = tr("Sound files (*.wav)|*.wav|All Files (*.*)|*.*");
  request.DefaultExt = QStringLiteral("wav");
  if (!field->text().trimmed().isEmpty()) {
    request.InitialDir = current.path();
    request.FileName = current.fileName();
  }
  if (OpenFileDialog(this, request)) field->setText(request.FileName);
}

bool TOptionsDialog::ValidatePage(int page) {
  switch (page) {
    case pgQuestion:
      return ValidateIntRange(cbNumChoices, kMinChoices, kMaxChoices) &&
             (!cbMaxPenaltyPoints->isEnabled() ||
              ValidateIntRange(cbMaxPenaltyPoints, kMinPenaltyPoints, kMaxPenaltyPoints));
    case pgFeedback:
      return ValidateIntRange(edtDelay, kMinWrongDelay, kMaxWrongDelay);
    default:
      return true;
  }
}

void TOptionsDialog::PageChanged(int page) {
  if (m_Updating || page == m_Page) return;
  // The tab bar has already switched; go back to the page being left while it is checked, so
  // that the message and the focus land on the field at fault.
  m_Updating = true;
  pcOptions->setCurrentIndex(m_Page);
  m_Updating = false;
  if (!ValidatePage(m_Page)) return;
  m_Updating = true;
  pcOptions->setCurrentIndex(page);
  m_Updating = false;
  m_Page = page;
}

void TOptionsDialog::OkClick() {
  if (!ValidatePage(pcOptions->currentIndex())) return;
  TProgramOptions& o = m_Data.Options;
  o.AppendNewWords = chbAppendNewWords->isChecked();
  o.ConfirmDuplicates = chbConfirmDuplicates->isChecked();
  o.ConfirmNoSort = chbConfirmNoSort->isChecked();
  o.ConfirmNoCategory = chbConfirmNoCategory->isChecked();
  o.SkipNotes = chbSkipNotes->isChecked();
  o.LearntColour = SelectedColour(cbColourLearnt, o.LearntColour);
  o.ShortcutChars = m_Chars;
  o.KeyboardSwitching = chbKeyboardSwitching->isChecked();
  o.TestNotesPassive = chbTestNotesPassive->isChecked();
  o.TestNotesActive = chbTestNotesActive->isChecked();
  o.NumChoices = cbNumChoices->currentText().trimmed().toInt();
  o.PassiveFlags = StoreCheckList(clbPassive, kDirectionOptionItems);
  o.ActiveFlags = StoreCheckList(clbActive, kDirectionOptionItems);
  o.EnglishFlags = StoreCheckList(clbEnglish, kEnglishOptionItems);
  o.AutoContinue = rbAutoContinue->isChecked();
  o.WrongColour = SelectedColour(cbColourWrong, o.WrongColour);
  o.RightColour = SelectedColour(cbColourRight, o.RightColour);
  o.WrongDelay = edtDelay->text().trimmed().toInt();
  o.UsePenaltyPoints = chbUsePenaltyPoints->isChecked();
  o.MaxPenaltyPoints = cbMaxPenaltyPoints->currentText().trimmed().toInt();
  o.DisallowHints = chbDisallowHints->isChecked();
  m_Data.RightSound = TrimSoundPath(edtSoundFileRight->text());
  m_Data.WrongSound = TrimSoundPath(edtSoundFileWrong->text());
  m_Data.Speech = {chbSpeakQuestions->isChecked(), chbSpeakAnswers->isChecked(),
                   trkSpeechRate->value()};
  m_Data.OptionsPage = pcOptions->currentIndex();
  m_Data.KeepHistory = chbKeepHistory->isChecked();
  accept();
}
