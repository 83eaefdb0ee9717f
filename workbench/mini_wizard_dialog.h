// The MiniWizard: a few numbers for a skeleton network definition.
#pragma once

#include <QDialog>

#include "skeleton.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

class MiniWizardDialog : public QDialog {
    Q_OBJECT
  public:
    explicit MiniWizardDialog(QWidget* parent = nullptr);

    WizardValues values() const;
    void setValues(const WizardValues& values);

    // Shows the dialog with the stored values; the values are kept between uses.
    int exec() override;

    void accept() override;  // validates the fields, stays open on a bad one

  private:
    void valuesToControls();
    void controlsToValues();  // all fields but the counts
    void stepClassCount(int steps);
    void stepStationCount(int steps);

    WizardValues values_;
    QRadioButton* closedButton_ = nullptr;
    QRadioButton* openButton_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QLineEdit* classEdit_ = nullptr;
    QLineEdit* stationEdit_ = nullptr;
    QSpinBox* classSpin_ = nullptr;
    QSpinBox* stationSpin_ = nullptr;
    QCheckBox* schedulesBox_ = nullptr;
    QCheckBox* commentsBox_ = nullptr;
};
