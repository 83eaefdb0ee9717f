// The MiniWizard's counts, its spin arrows and its field checks.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "workbench/about_dialog.h"
#include "workbench/mini_wizard_dialog.h"

namespace {
// Ends the dialog's exec() however the checks inside it end.
struct Closer {
    QDialog& dialog;
    ~Closer() {
        if (dialog.isVisible()) dialog.reject();
    }
};
}  // namespace

class TestWizard : public QObject {
    Q_OBJECT
  private slots:
    void startsWithTheDefaults();
    void spinsStayWithinTheirLimits();
    void spinShowsTheStoredCountsAgain();
    void cancelKeepsWhatTheSpinsChanged();
    void okChecksTheCounts();
    void okTakesAllFields();
    void laidOutLikeAnOrdinaryDialog();

  private:
    static QLineEdit* edit(MiniWizardDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static QSpinBox* spin(MiniWizardDialog& dialog, const char* name) {
        return dialog.findChild<QSpinBox*>(QString::fromLatin1(name));
    }
    static QPushButton* button(MiniWizardDialog& dialog, const QString& text) {
        for (auto* candidate : dialog.findChildren<QPushButton*>())
            if (candidate->text() == text) return candidate;
        return nullptr;
    }
    // Runs action and returns the text of the message box it opens (closing it).
    static QString messageOf(const std::function<void()>& action);
};

QString TestWizard::messageOf(const std::function<void()>& action) {
    QString text;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
        }
    });
    watcher.start(10);
    action();
    return text;
}

void TestWizard::startsWithTheDefaults() {
    MiniWizardDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("WinKolt MiniWizzard"));
    const WizardValues values = dialog.values();
    QCOMPARE(values.networkKind, 0);
    QCOMPARE(values.classCount, 1u);
    QCOMPARE(values.stationCount, 1u);
    QVERIFY(values.withSchedules && values.withComments && values.networkName.isEmpty());
    QVERIFY(button(dialog, QStringLiteral("OK")) && button(dialog, QStringLiteral("Cancel")));
}

void TestWizard::spinsStayWithinTheirLimits() {
    MiniWizardDialog dialog;
    WizardValues values;
    values.classCount = 32;
    values.stationCount = 1;
    dialog.setValues(values);
    spin(dialog, "classSpin")->stepUp();
    spin(dialog, "stationSpin")->stepDown();
    QCOMPARE(dialog.values().classCount, 32u);
    QCOMPARE(dialog.values().stationCount, 1u);

    spin(dialog, "classSpin")->stepDown();
    spin(dialog, "stationSpin")->stepBy(1000);  // a held arrow takes larger steps
    QCOMPARE(dialog.values().classCount, 31u);
    QCOMPARE(edit(dialog, "classCount")->text(), QStringLiteral("31"));
    QCOMPARE(dialog.values().stationCount, 999u);
    QCOMPARE(edit(dialog, "stationCount")->text(), QStringLiteral("999"));
}

void TestWizard::spinShowsTheStoredCountsAgain() {
    MiniWizardDialog dialog;
    edit(dialog, "classCount")->setText(QStringLiteral("5"));
    spin(dialog, "stationSpin")->stepUp();
    QCOMPARE(edit(dialog, "classCount")->text(), QStringLiteral("1"));
    QCOMPARE(edit(dialog, "stationCount")->text(), QStringLiteral("2"));

    // The class spin also starts from the stored count, not from typed text.
    edit(dialog, "classCount")->setText(QStringLiteral("20"));
    spin(dialog, "classSpin")->stepUp();
    QCOMPARE(edit(dialog, "classCount")->text(), QStringLiteral("2"));
}

void TestWizard::cancelKeepsWhatTheSpinsChanged() {
    MiniWizardDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        spin(dialog, "classSpin")->stepUp();
        spin(dialog, "classSpin")->stepUp();
        spin(dialog, "stationSpin")->stepUp();
        edit(dialog, "stationCount")->setText(QStringLiteral("77"));  // typed, never taken
        button(dialog, QStringLiteral("Cancel"))->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.values().classCount, 3u);
    QCOMPARE(dialog.values().stationCount, 2u);

    QTimer::singleShot(0, &dialog, [&] {
        Closer closer{dialog};
        QCOMPARE(edit(dialog, "classCount")->text(), QStringLiteral("3"));
        QCOMPARE(edit(dialog, "stationCount")->text(), QStringLiteral("2"));
    });
    dialog.exec();
}

void TestWizard::okChecksTheCounts() {
    MiniWizardDialog dialog;
    bool checked = false;
    QTimer::singleShot(0, &dialog, [&] {
        Closer closer{dialog};
        QLineEdit* classes = edit(dialog, "classCount");
        QLineEdit* stations = edit(dialog, "stationCount");
        QPushButton* ok = button(dialog, QStringLiteral("OK"));
        const struct {
            QLineEdit* field;
            QString text;
            QString message;
        } cases[] = {
            {classes, QStringLiteral("abc"), QStringLiteral("Please enter a positive integer.")},
            {classes, QStringLiteral("-1"), QStringLiteral("Please enter a positive integer.")},
            {classes, QString(), QStringLiteral("Please enter a positive integer.")},
            {classes, QStringLiteral("99999999999"), QStringLiteral("Please enter a positive integer.")},
            {classes, QStringLiteral("0"), QStringLiteral("Please enter an integer between 1 and 32.")},
            {classes, QStringLiteral("33"), QStringLiteral("Please enter an integer between 1 and 32.")},
            {stations, QStringLiteral("1000"), QStringLiteral("Please enter an integer between 1 and 999.")},
            {stations, QStringLiteral("x"), QStringLiteral("Please enter a positive integer.")},
        };
        for (const auto& bad : cases) {
            classes->setText(QStringLiteral("2"));
            stations->setText(QStringLiteral("3"));
            bad.field->setText(bad.text);
            QCOMPARE(messageOf([&] { ok->click(); }), bad.message);
            QVERIFY(dialog.isVisible());                // stays open
            QCOMPARE(dialog.focusWidget(), bad.field);  // on that field
            QCOMPARE(dialog.values().classCount, 1u);   // nothing taken
        }
        checked = true;
    });
    dialog.exec();
    QVERIFY(checked);
}

void TestWizard::okTakesAllFields() {
    MiniWizardDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        for (auto* radio : dialog.findChildren<QRadioButton*>())
            if (radio->text() == QStringLiteral("Otwarta")) radio->setChecked(true);
        edit(dialog, "networkName")->setText(QStringLiteral("Sieć"));
        edit(dialog, "classCount")->setText(QStringLiteral(" 32 "));
        edit(dialog, "stationCount")->setText(QStringLiteral("999"));
        button(dialog, QStringLiteral("OK"))->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    const WizardValues values = dialog.values();
    QCOMPARE(values.networkKind, 1);
    QCOMPARE(values.networkName, QStringLiteral("Sieć"));
    QCOMPARE(values.classCount, 32u);
    QCOMPARE(values.stationCount, 999u);
}

// Each label beside or right above its field, the spin arrows against their
// boxes, one size that cannot be changed or maximised, at any font size.
// The about box is wide enough for its title.
void TestWizard::laidOutLikeAnOrdinaryDialog() {
    for (int pointSize : {9, 14}) {
        QFont font = QApplication::font();
        font.setPointSize(pointSize);
        MiniWizardDialog dialog;
        dialog.setFont(font);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* nameLabel = dialog.findChild<QLabel*>(QStringLiteral("networkNameLabel"));
        QLineEdit* name = edit(dialog, "networkName");
        QVERIFY(nameLabel && name);
        const QRect label = nameLabel->geometry();
        const QRect field = name->geometry();
        QVERIFY2(field.top() - label.bottom() <= 8,
                 qPrintable(QStringLiteral("%1 px").arg(field.top() - label.bottom())));
        QCOMPARE(label.left(), field.left());
        for (const char* count : {"classCount", "stationCount"}) {
            QLineEdit* box = edit(dialog, count);
            QSpinBox* arrows = spin(dialog, count == QByteArray("classCount") ? "classSpin" : "stationSpin");
            const QRect boxRect(box->mapTo(&dialog, QPoint(0, 0)), box->size());
            const QRect arrowRect(arrows->mapTo(&dialog, QPoint(0, 0)), arrows->size());
            QVERIFY(qAbs(arrowRect.left() - boxRect.right() - 1) <= 2);
            QCOMPARE(arrowRect.top(), boxRect.top());
            QCOMPARE(arrowRect.height(), boxRect.height());
        }
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    }
    AboutDialog about;
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(about.width() >= AboutDialog::minimumWidthForTitle(about.windowTitle()));
    QVERIFY(AboutDialog::minimumWidthForTitle(about.windowTitle()) >
            QFontMetrics(QApplication::font()).horizontalAdvance(about.windowTitle()));
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
