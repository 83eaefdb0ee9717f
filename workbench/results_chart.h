// The chart pane of the results window: two bar charts of the rows the
// table shows, the utilisation of each station and its mean number of
// customers, with a bar for all classes together and one for each class.
// The bottleneck is the station with the highest utilisation.
//
// The charts can be saved as PNG or SVG and printed; these draw fresh
// charts of a fixed size, whatever the size of the pane.
#pragma once

#include <QWidget>

#include "workbench/results_chart_data.h"

class QChart;
class QChartView;
class QPainter;
class QPrinter;

class ResultsChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsChartView(QWidget* parent = nullptr);

    void showRecords(const QList<ResultRecord>& rows);
    const ChartSeries& series(ChartMeasure measure) const;
    QChart* chart(ChartMeasure measure) const;

    // Both charts, one above the other, drawn into target.
    void render(QPainter& painter, const QRectF& target) const;

    // The image and drawing files; false with error set when not written.
    bool savePng(const QString& path, QString* error) const;
    bool saveSvg(const QString& path, const QString& title, QString* error) const;
    // One page, headed "Wyniki dla: " documentName.
    bool printTo(QPrinter* printer, const QString& documentName) const;

    static QString title(ChartMeasure measure);
    // Size of the saved images, in pixels.
    static QSize imageSize() { return {1000, 800}; }

  private:
    ChartSeries utilisation;
    ChartSeries number;
    QChartView* utilisationView;
    QChartView* numberView;
};
