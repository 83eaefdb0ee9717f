// The about box: the program's icon, name and version.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // A width at which a window manager shows title whole.
    static int minimumWidthForTitle(const QString& title);
};
