#include "workbench/results_chart_data.h"

#include <QHash>
#include <QMap>

double ChartSeries::largest() const {
    double most = 0;
    for (const Set& set : sets)
        for (double value : set.values) most = qMax(most, value);
    return most;
}

ChartSeries chartSeries(const QList<ResultRecord>& shownRows, ChartMeasure measure) {
    // The row that stands for a whole station: STATION, or PS and IS for
    // stations without queue and server rows.
    auto isStationRow = [](const ResultRecord& r) {
        return r.kind() == StationRecord || r.type == QLatin1String("PS") || r.type == QLatin1String("IS");
    };
    const int column = measure == ChartMeasure::Utilisation ? 2 : 1;

    // Stations and class groups ordered by their numbers in the file.
    QMap<int, QString> stations;
    QMap<std::pair<int, int>, QString> groups;
    for (const ResultRecord& r : shownRows) {
        if (!isStationRow(r)) continue;
        stations.insert(r.stationNumber, unquotedName(r.stationName));
        groups.insert({r.classNumber, r.classGroup}, unquotedName(r.className));
    }
    ChartSeries series;
    series.stations = stations.values();
    QHash<int, int> categoryOf;
    for (int number : stations.keys()) categoryOf.insert(number, int(categoryOf.size()));
    QMap<std::pair<int, int>, int> setOf;
    for (auto g = groups.cbegin(); g != groups.cend(); ++g) {
        setOf.insert(g.key(), int(series.sets.size()));
        series.sets.append({g.value(), QList<double>(series.stations.size(), 0.0)});
    }
    for (const ResultRecord& r : shownRows) {
        if (!isStationRow(r)) continue;
        const int set = setOf.value({r.classNumber, r.classGroup});
        const int category = categoryOf.value(r.stationNumber);
        bool ok = false;
        const double value = r.values[column].trimmed().toDouble(&ok);
        if (ok) series.sets[set].values[category] = value;
    }
    return series;
}
