#include "mini_wizard_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

constexpr uint kMaxClasses = 32;
constexpr uint kMaxStations = 999;

// Only the arrows of a spin box: a step is handed to the dialog, which
// changes its stored count and sets every control again; the box itself
// holds no value of its own.
class ArrowsOnly : public QSpinBox {
  public:
    ArrowsOnly(std::function<void(int)> onStep, QWidget* parent) : QSpinBox(parent), onStep_(std::move(onStep)) {
        setRange(0, 0);
        setAccelerated(true);  // a held arrow steps faster, as a spin control does
        setFocusPolicy(Qt::NoFocus);
        setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        lineEdit()->hide();
        setFixedWidth(18);
    }
    void stepBy(int steps) override { onStep_(steps); }

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

  private:
    std::function<void(int)> onStep_;
};

uint stepped(uint value, int steps, uint maximum) {
    const qint64 next = qint64(value) + steps;
    return uint(std::clamp<qint64>(next, 1, maximum));
}

// unsigned := blanks digits blanks
std::optional<uint> parseUnsigned(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    quint64 value = 0;
    for (QChar ch : trimmed) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return std::nullopt;
        value = value * 10 + (ch.unicode() - '0');
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return uint(value);
}

// A count's edit box with the arrows of its spin right beside it, as high
// as the box.
QHBoxLayout* editWithArrows(QLineEdit* edit, QSpinBox* arrows) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit);
    row->addWidget(arrows);
    arrows->setFixedHeight(edit->sizeHint().height());
    return row;
}

// Group boxes with their title on the frame line, the usual look of a
// dialog's groups, whatever the widget style draws by default.
const char* const groupStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 0.7em; padding-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px; padding: 0 3px; }";

}  // namespace

MiniWizardDialog::MiniWizardDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("WinKolt MiniWizzard"));
    // A dialog of fixed size: no maximise button, no size grip.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* kindGroup = new QGroupBox(QStringLiteral("Typ sieci "), this);
    closedButton_ = new QRadioButton(QStringLiteral("Zamknięta"), kindGroup);
    openButton_ = new QRadioButton(QStringLiteral("Otwarta"), kindGroup);
    auto* kindLayout = new QVBoxLayout(kindGroup);
    kindLayout->addWidget(closedButton_);
    kindLayout->addWidget(openButton_);

    auto* nameLabel = new QLabel(QStringLiteral("Opcjonalna nazwa sieci:"), this);
    nameEdit_ = new QLineEdit(this);
    nameLabel->setBuddy(nameEdit_);

    auto* sizeGroup = new QGroupBox(QStringLiteral("Wielkość sieci "), this);
    auto* classLabel = new QLabel(QStringLiteral("Liczba klas:"), sizeGroup);
    classEdit_ = new QLineEdit(sizeGroup);
    classSpin_ = new ArrowsOnly([this](int steps) { stepClassCount(steps); }, sizeGroup);
    auto* stationLabel = new QLabel(QStringLiteral("Liczba stanowisk:"), sizeGroup);
    stationEdit_ = new QLineEdit(sizeGroup);
    stationSpin_ = new ArrowsOnly([this](int steps) { stepStationCount(steps); }, sizeGroup);
    nameEdit_->setObjectName(QStringLiteral("networkName"));
    nameLabel->setObjectName(QStringLiteral("networkNameLabel"));
    classEdit_->setObjectName(QStringLiteral("classCount"));
    stationEdit_->setObjectName(QStringLiteral("stationCount"));
    classSpin_->setObjectName(QStringLiteral("classSpin"));
    stationSpin_->setObjectName(QStringLiteral("stationSpin"));
    classLabel->setBuddy(classEdit_);
    stationLabel->setBuddy(stationEdit_);
    const int digits = classEdit_->fontMetrics().horizontalAdvance(QStringLiteral("99999"));
    classEdit_->setFixedWidth(digits + 12);
    stationEdit_->setFixedWidth(digits + 12);
    auto* sizeLayout = new QFormLayout(sizeGroup);
    sizeLayout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    sizeLayout->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    sizeLayout->addRow(classLabel, editWithArrows(classEdit_, classSpin_));
    sizeLayout->addRow(stationLabel, editWithArrows(stationEdit_, stationSpin_));

    auto* extrasGroup = new QGroupBox(QStringLiteral("Wstaw dodatkowo: "), this);
    schedulesBox_ = new QCheckBox(QStringLiteral("Regulaminy obsługi"), extrasGroup);
    commentsBox_ = new QCheckBox(QStringLiteral("Komentarze"), extrasGroup);
    auto* extrasLayout = new QVBoxLayout(extrasGroup);
    extrasLayout->addWidget(schedulesBox_);
    extrasLayout->addWidget(commentsBox_);
    for (QGroupBox* group : {kindGroup, sizeGroup, extrasGroup}) group->setStyleSheet(QString::fromLatin1(groupStyle));

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    auto* okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &MiniWizardDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MiniWizardDialog::reject);

    // Three columns, top-aligned: the network's kind with its optional name
    // (the label right above its field), the size and extras, the buttons.
    auto* left = new QVBoxLayout;
    left->addWidget(kindGroup);
    left->addSpacing(6);
    auto* nameColumn = new QVBoxLayout;
    nameColumn->setSpacing(2);
    nameColumn->addWidget(nameLabel);
    nameColumn->addWidget(nameEdit_);
    left->addLayout(nameColumn);
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(sizeGroup);
    middle->addWidget(extrasGroup);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(buttons);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(middle);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setSizeGripEnabled(false);
}

WizardValues MiniWizardDialog::values() const { return values_; }

void MiniWizardDialog::setValues(const WizardValues& values) {
    values_ = values;
    valuesToControls();
}

int MiniWizardDialog::exec() {
    valuesToControls();
    classEdit_->setFocus();
    return QDialog::exec();
}

void MiniWizardDialog::valuesToControls() {
    closedButton_->setChecked(values_.networkKind != 1);
    openButton_->setChecked(values_.networkKind == 1);
    nameEdit_->setText(values_.networkName);
    classEdit_->setText(QString::number(values_.classCount));
    stationEdit_->setText(QString::number(values_.stationCount));
    schedulesBox_->setChecked(values_.withSchedules);
    commentsBox_->setChecked(values_.withComments);
}

void MiniWizardDialog::stepClassCount(int steps) {
    values_.classCount = stepped(values_.classCount, steps, kMaxClasses);
    valuesToControls();
}

void MiniWizardDialog::stepStationCount(int steps) {
    values_.stationCount = stepped(values_.stationCount, steps, kMaxStations);
    valuesToControls();
}

// Fields are checked in the dialog's order; the first bad count stops with a
// message and leaves the dialog open on that field, storing nothing.
void MiniWizardDialog::accept() {
    WizardValues taken = values_;
    taken.networkKind = openButton_->isChecked() ? 1 : 0;
    taken.networkName = nameEdit_->text();
    const struct {
        QLineEdit* edit;
        uint* value;
        uint maximum;
    } counts[] = {{classEdit_, &taken.classCount, kMaxClasses}, {stationEdit_, &taken.stationCount, kMaxStations}};
    for (const auto& count : counts) {
        const std::optional<uint> number = parseUnsigned(count.edit->text());
        QString problem;
        if (!number)
            problem = QStringLiteral("Please enter a positive integer.");
        else if (*number < 1 || *number > count.maximum)
            problem = QStringLiteral("Please enter an integer between %1 and %2.").arg(1).arg(count.maximum);
        if (!problem.isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("WinKolt"), problem);
            count.edit->setFocus();
            count.edit->selectAll();
            return;
        }
        *count.value = *number;
    }
    taken.withSchedules = schedulesBox_->isChecked();
    taken.withComments = commentsBox_->isChecked();
    values_ = taken;
    QDialog::accept();
}
