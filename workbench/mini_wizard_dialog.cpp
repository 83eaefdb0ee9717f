#include "mini_wizard_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
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

}  // namespace

MiniWizardDialog::MiniWizardDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("WinKolt MiniWizzard"));

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
    classEdit_->setObjectName(QStringLiteral("classCount"));
    stationEdit_->setObjectName(QStringLiteral("stationCount"));
    classSpin_->setObjectName(QStringLiteral("classSpin"));
    stationSpin_->setObjectName(QStringLiteral("stationSpin"));
    classLabel->setBuddy(classEdit_);
    stationLabel->setBuddy(stationEdit_);
    auto* sizeLayout = new QGridLayout(sizeGroup);
    sizeLayout->addWidget(classLabel, 0, 0);
    sizeLayout->addWidget(classEdit_, 0, 1);
    sizeLayout->addWidget(classSpin_, 0, 2);
    sizeLayout->addWidget(stationLabel, 1, 0);
    sizeLayout->addWidget(stationEdit_, 1, 1);
    sizeLayout->addWidget(stationSpin_, 1, 2);
    sizeLayout->setHorizontalSpacing(2);

    auto* extrasGroup = new QGroupBox(QStringLiteral("Wstaw dodatkowo: "), this);
    schedulesBox_ = new QCheckBox(QStringLiteral("Regulaminy obsługi"), extrasGroup);
    commentsBox_ = new QCheckBox(QStringLiteral("Komentarze"), extrasGroup);
    auto* extrasLayout = new QVBoxLayout(extrasGroup);
    extrasLayout->addWidget(schedulesBox_);
    extrasLayout->addWidget(commentsBox_);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    auto* okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &MiniWizardDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MiniWizardDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(kindGroup);
    left->addWidget(nameLabel);
    left->addWidget(nameEdit_);
    auto* middle = new QVBoxLayout;
    middle->addWidget(sizeGroup);
    middle->addWidget(extrasGroup);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(middle);
    layout->addWidget(buttons);
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
