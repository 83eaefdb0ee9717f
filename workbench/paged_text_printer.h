// Paged printing of a plain text with a header line and a page footer.
//
// Page layout, h being the line height of the printing font and q = h / 4:
//   header (path or title) at the top left;
//   a rule across the page area at top + h + q; the text starts at top + h + 2q;
//   the text ends h + 2q above the bottom;
//   a rule at bottom - h - q; the footer "Strona: n" with its top at bottom - h.
// Long lines wrap within the text area; a line is never split across pages.
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
