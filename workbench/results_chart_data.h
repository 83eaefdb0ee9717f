// What the results chart shows, taken from the rows the table shows: for
// each station a bar per class group (all classes together first, then the
// classes in their order), with the station row's utilisation or mean
// number of customers. Queue and server rows are not charted.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "workbench/results_file.h"

enum class ChartMeasure { Utilisation, Number };

struct ChartSeries {
    QStringList stations;  // categories, in station order, names without quotes
    struct Set {
        QString label;         // "Bez podziału" or the class name, without quotes
        QList<double> values;  // one per station; 0 where the class has no value there
    };
    QList<Set> sets;

    double largest() const;
};

ChartSeries chartSeries(const QList<ResultRecord>& shownRows, ChartMeasure measure);
