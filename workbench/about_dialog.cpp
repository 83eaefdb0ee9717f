#include "workbench/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/toolbar_icons.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Informacja o programie"));
    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(32, 32));
    auto* text = new QLabel(QStringLiteral("WinKolt wersja 1.0"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout(this);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(text, 1, Qt::AlignVCenter);
    row->addWidget(ok, 0, Qt::AlignTop);

    // Wide enough for the whole title beside the title bar's buttons (the
    // window manager draws the title, mostly in a bold face), and of one size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(qMax(sizeHint().width(), minimumWidthForTitle(windowTitle())), qMax(sizeHint().height(), 90));
}

int AboutDialog::minimumWidthForTitle(const QString& title) {
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int buttons = 3 * 32;  // the title bar's buttons and icon, generously
    return QFontMetrics(titleFont).horizontalAdvance(title) * 5 / 4 + buttons + 24;
}
