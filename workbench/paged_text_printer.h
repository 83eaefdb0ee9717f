// Paged printing of a plain text with a header line and a page footer.
//
// Page layout, h being the line height of the printing font and q = h / 4:
//   header (path or title) at the top left;
//   a rule across the page area at top + h + q; the text starts at top + h + 2q;
//   the text ends h + 2q above the bottom;
//   a rule at bottom - h - q; the footer "Strona: n" with its top at bottom - h.
// Long lines wrap within the text area; a line is never split across pages.
// The text is printed as given: callers hand it through printableText().
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <memory>

class QPainter;
class QPaintDevice;
class QTextDocument;

class PagedTextPrinter {
  public:
    PagedTextPrinter(const QString& text, const QString& header, const QFont& font);
    ~PagedTextPrinter();

    // Lays the text out for device, on pages whose printable area is pageArea
    // (in the painter's coordinates).
    void layout(QPaintDevice* device, const QRect& pageArea);

    int pageCount() const;
    // 1-based page holding the character at position of the text.
    int pageOfPosition(int position) const;
    // 1-based page holding the character at (0-based) line and column.
    int pageOfLineAndColumn(int line, int column) const;
    // Paints page (1-based) of the laid-out text.
    void paintPage(QPainter& painter, int page) const;

    int lineHeight() const { return h; }
    QRect textArea() const { return textRect; }
    int headerRuleY() const { return area.top() + h + h / 4; }
    int footerRuleY() const { return areaBottom() - h - h / 4; }

    static QString footerText(int page);

  private:
    int areaBottom() const { return area.top() + area.height(); }

    std::unique_ptr<QTextDocument> document;
    QString headerText;
    QFont baseFont;
    QFont deviceFont;
    QRect area;
    QRect textRect;
    int h = 0;
};

// The text as the editor shows it, for printing: a CR LF pair, a lone LF and
// a lone CR each end one line, and every tab is expanded with blanks to the
// next tab stop (every tabWidth columns), so that indentation prints as it
// shows on the screen whatever the printer's resolution.
QString printableText(const QString& text, int tabWidth = 8);

// The column at which the character at column (0-based) of a line prints,
// its tabs expanded as printableText() does.
int printableColumn(const QString& line, int column, int tabWidth = 8);

class QPrinter;
// Margins for a printer that has not been set up by the user: 20 mm on the
// binding side, 15 mm elsewhere (a printer may ask for more).
void setDefaultPageMargins(QPrinter* printer);
