// A paint device that records what is painted on it, page by page, and the
// page count of a PDF file: for checking printouts without a printer.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QRegularExpression>
#include <QTransform>

// Records the texts and lines painted on it, page by page.
class RecordingEngine : public QPaintEngine {
  public:
    struct Text {
        int page;
        QPointF at;
        QString text;
    };
    QList<Text> texts;
    QList<QLineF> lines;
    int page = 1;
    QTransform transform;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& changed) override {
        if (changed.state() & QPaintEngine::DirtyTransform) transform = changed.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        texts.append({page, transform.map(p), item.text()});
    }
    void drawLines(const QLineF* l, int count) override {
        for (int i = 0; i < count; ++i) lines.append(transform.map(l[i]));
    }
    Type type() const override { return QPaintEngine::User; }
};

// An A4 page at dotsPerInch (a printer in high resolution has 1200).
class RecordingDevice : public QPaintDevice {
  public:
    explicit RecordingDevice(int dotsPerInch = 254) : dpi(dotsPerInch) {}
    mutable RecordingEngine engine;
    QPaintEngine* paintEngine() const override { return &engine; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth: return 210 * dpi * 10 / 254;
            case PdmHeight: return 297 * dpi * 10 / 254;
            case PdmWidthMM: return 210;
            case PdmHeightMM: return 297;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY: return dpi;
            case PdmDepth: return 32;
            case PdmNumColors: return 0x7fffffff;
            case PdmDevicePixelRatio: return 1;
            case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    int dpi;
};

// Pages of a PDF file as written by QPrinter.
inline int pdfPageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}
