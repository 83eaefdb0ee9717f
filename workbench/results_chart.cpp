#include "workbench/results_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "workbench/results_printer.h"

namespace {

QChart* buildChart(const ChartSeries& data, ChartMeasure measure) {
    auto* chart = new QChart;
    chart->setTitle(ResultsChartView::title(measure));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);

    auto* bars = new QBarSeries;
    for (const ChartSeries::Set& set : data.sets) {
        auto* barSet = new QBarSet(set.label);
        barSet->append(set.values);
        bars->append(barSet);
    }
    chart->addSeries(bars);

    auto* stations = new QBarCategoryAxis;
    stations->append(data.stations);
    chart->addAxis(stations, Qt::AlignBottom);
    bars->attachAxis(stations);

    auto* values = new QValueAxis;
    if (measure == ChartMeasure::Utilisation) {
        // Utilisation on its natural scale, 0 to 1, unless something exceeds it.
        values->setRange(0, qMax(1.0, data.largest()));
        values->setTickCount(6);
        values->setLabelFormat(QStringLiteral("%.1f"));
    } else {
        values->setRange(0, data.largest() > 0 ? data.largest() * 1.05 : 1.0);
        values->applyNiceNumbers();
        values->setLabelFormat(QStringLiteral("%g"));
    }
    chart->addAxis(values, Qt::AlignLeft);
    bars->attachAxis(values);
    chart->legend()->setVisible(!data.sets.isEmpty());
    return chart;
}

QChartView* chartView(QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFrameShape(QFrame::NoFrame);
    view->setMinimumHeight(160);
    return view;
}

void replaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

}  // namespace

ResultsChartView::ResultsChartView(QWidget* parent)
    : QWidget(parent), utilisationView(chartView(this)), numberView(chartView(this)) {
    setObjectName(QStringLiteral("chartView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(utilisationView);
    layout->addWidget(numberView);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    showRecords({});
}

QString ResultsChartView::title(ChartMeasure measure) {
    return measure == ChartMeasure::Utilisation ? QStringLiteral("Wykorzystanie stanowisk")
                                                : QStringLiteral("Średnia liczba klientów na stanowisku");
}

void ResultsChartView::showRecords(const QList<ResultRecord>& rows) {
    utilisation = chartSeries(rows, ChartMeasure::Utilisation);
    number = chartSeries(rows, ChartMeasure::Number);
    replaceChart(utilisationView, buildChart(utilisation, ChartMeasure::Utilisation));
    replaceChart(numberView, buildChart(number, ChartMeasure::Number));
}

const ChartSeries& ResultsChartView::series(ChartMeasure measure) const {
    return measure == ChartMeasure::Utilisation ? utilisation : number;
}

QChart* ResultsChartView::chart(ChartMeasure measure) const {
    return (measure == ChartMeasure::Utilisation ? utilisationView : numberView)->chart();
}

void ResultsChartView::render(QPainter& painter, const QRectF& target) const {
    // Fresh charts laid out at the target's size, so that text keeps its
    // size and the bars their proportions whatever the pane looks like.
    const QSizeF half(target.width(), target.height() / 2);
    int index = 0;
    for (ChartMeasure measure : {ChartMeasure::Utilisation, ChartMeasure::Number}) {
        QGraphicsScene scene;
        QChart* chart = buildChart(series(measure), measure);
        scene.addItem(chart);
        chart->setGeometry(QRectF(QPointF(0, 0), half));
        const QRectF place(target.left(), target.top() + index++ * half.height(), half.width(), half.height());
        scene.render(&painter, place, QRectF(QPointF(0, 0), half));
    }
}

bool ResultsChartView::savePng(const QString& path, QString* error) const {
    QImage image(imageSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        render(painter, QRectF(QPointF(0, 0), imageSize()));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool ResultsChartView::saveSvg(const QString& path, const QString& title, QString* error) const {
    QBuffer drawing;
    drawing.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&drawing);
    generator.setSize(imageSize());
    generator.setViewBox(QRect(QPoint(0, 0), imageSize()));
    generator.setResolution(96);
    generator.setTitle(title);
    generator.setDescription(ResultsChartView::title(ChartMeasure::Utilisation) + QStringLiteral(", ") +
                             ResultsChartView::title(ChartMeasure::Number));
    {
        QPainter painter(&generator);
        render(painter, QRectF(QPointF(0, 0), imageSize()));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(drawing.data()) != drawing.data().size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool ResultsChartView::printTo(QPrinter* printer, const QString& documentName) const {
    QPainter painter;
    if (!painter.begin(printer)) return false;
    const QRect page(QPoint(0, 0), printer->pageRect(QPrinter::DevicePixel).size().toSize());
    painter.setFont(QFont(font(), printer));
    const int h = QFontMetrics(painter.font(), printer).height();
    painter.drawText(QRect(page.left(), page.top(), page.width(), h), Qt::AlignLeft | Qt::AlignTop,
                     ResultsTablePrinter::headerText(documentName));
    painter.drawLine(page.left(), page.top() + h + h / 4, page.right(), page.top() + h + h / 4);
    // The charts at the saved images' proportions, as wide as the page allows.
    const int headerHeight = h + h / 2;  // whole pixels, as the header was drawn
    const QRectF space(page.left(), page.top() + headerHeight, page.width(), page.height() - headerHeight);
    QSizeF size = QSizeF(imageSize()).scaled(space.size(), Qt::KeepAspectRatio);
    // Laid out at screen size and scaled up, so that text is as big relative
    // to the bars as on screen.
    const qreal scale = size.width() / imageSize().width();
    painter.translate(space.topLeft());
    painter.scale(scale, scale);
    render(painter, QRectF(QPointF(0, 0), imageSize()));
    return painter.end();
}
