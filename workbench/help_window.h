// The window of the user guide: a text browser that opens whole on the
// screen and closes with Esc.
#pragma once

#include <QRect>
#include <QSize>
#include <QTextBrowser>

class HelpWindow : public QTextBrowser {
    Q_OBJECT
  public:
    explicit HelpWindow(const QString& page, QWidget* parent = nullptr);

    // Places the window beside owner (centred on it) on owner's screen.
    void placeNear(const QWidget* owner);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Where a window of the wanted size goes: shrunk to fit the available area
// with room for the window manager's frame, centred on the centre of near,
// and moved back whole inside the available area.
QRect windowGeometryWithin(const QRect& available, const QRect& near, QSize wanted);
