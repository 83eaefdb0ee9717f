#include "skeleton.h"

#include <QStringList>

QString defaultSkeleton() {
    return QStringLiteral(
        "SOUR !Tutaj wstaw nazwę Twojej sieci!\r\n"
        "*DECLARATION*\r\n"
        "\t!Tutaj wstaw deklaracje klas i obiektów!\r\n"
        "*END*\r\n"
        "*DESCRIPTION*\r\n"
        "\t!Tutaj wstaw opisy obiektów!\r\n"
        "*END*");
}

QString skeletonText(const WizardValues& v) {
    const bool open = v.networkKind == 1;
    QStringList lines;
    lines << QStringLiteral("SOUR ") + v.networkName;
    lines << QStringLiteral("*DECLARATION*");
    if (v.withComments) {
        lines
            << (open ? QStringLiteral("  !Deklaracja źródeł i klas. Puste nawiasy \"[]\" oznaczają klasy otwarte!")
                     : QStringLiteral(
                           "  !Deklaracja klas. W nawiasach w miejsce \"1\" wpisz liczbę klientów krążących w sieci!"));
    }
    for (uint i = 1; i <= v.classCount; ++i) {
        if (open) lines << QStringLiteral("\t/SOURCE/ NAME=Zrodlo%1").arg(i);
        lines << QStringLiteral("\t/CLASS/ NAME=Klasa%1").arg(i) +
                     (open ? QStringLiteral("[]") : QStringLiteral("[1]"));
    }
    lines << QString();
    if (v.withComments) lines << QStringLiteral("  !Deklaracja stanowisk!");
    for (uint i = 1; i <= v.stationCount; ++i) lines << QStringLiteral("\t/STATION/ NAME=Stanowisko%1").arg(i);
    if (open) {
        if (v.withComments) lines << QStringLiteral("  !Deklaracja wyjścia z sieci otwartej!");
        lines << QStringLiteral("\t/OUT/ NAME=OUT");
    }
    lines << QStringLiteral("*END*");
    lines << QStringLiteral("*DESCRIPTION*");
    if (open) {
        if (v.withComments) lines << QStringLiteral("  !Opis źródeł!");
        for (uint i = 1; i <= v.classCount; ++i) {
            lines << QStringLiteral("\t/SOURCE/ NAME=Zrodlo%1").arg(i);
            lines << QStringLiteral("\t\tSERVICE=EXP[]");
            lines << QStringLiteral("\t\tTRANSIT=;");
        }
    }
    lines << QString();
    if (v.withComments) {
        lines << QStringLiteral("  !Opis stanowisk!");
        if (!v.withSchedules) lines << QStringLiteral("  !Regulaminy obsługi zostały domyślnie przyjęte jako FIFO!");
    }
    for (uint i = 1; i <= v.stationCount; ++i) {
        lines << QStringLiteral("\t/STATION/ NAME=Stanowisko%1").arg(i);
        if (v.withSchedules) lines << QStringLiteral("\t\tSCHEDULE=FIFO");
        lines << QStringLiteral("\t\tSERVICE=EXP[]");
        lines << QStringLiteral("\t\tTRANSIT=;");
    }
    lines << QStringLiteral("*END*");
    return lines.join(QStringLiteral("\r\n"));
}
