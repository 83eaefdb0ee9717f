// The starting texts of new documents, compared as the bytes they are saved as.
#include <QtTest>

#include "workbench/skeleton.h"
#include "workbench/text_codec.h"

class TestSkeleton : public QObject {
    Q_OBJECT
  private slots:
    void defaultSkeleton();
    void closedNetworkWithEverything();
    void openNetworkWithoutSchedules();
    void lineCountsFollowTheSizes();
};

namespace {
// A new document holds the text with '\n' line ends and writes CR LF.
QByteArray savedBytes(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return encodeFileText(text, FileText{});
}
}  // namespace

void TestSkeleton::defaultSkeleton() {
    QCOMPARE(savedBytes(::defaultSkeleton()),
             QByteArray("SOUR !Tutaj wstaw nazw\xea Twojej sieci!\r\n*DECLARATION*\r\n"
                        "\t!Tutaj wstaw deklaracje klas i obiekt\xf3w!\r\n*END*\r\n*DESCRIPTION*\r\n"
                        "\t!Tutaj wstaw opisy obiekt\xf3w!\r\n*END*"));
}

void TestSkeleton::closedNetworkWithEverything() {
    WizardValues values;
    values.networkName = QStringLiteral("Siec");
    values.classCount = 2;
    values.stationCount = 2;
    const QByteArray expected =
        "SOUR Siec\r\n"
        "*DECLARATION*\r\n"
        "  !Deklaracja klas. W nawiasach w miejsce \"1\" wpisz liczb\xea klient\xf3w kr\xb9\xbf\xb9\x63ych w sieci!\r\n"
        "\t/CLASS/ NAME=Klasa1[1]\r\n"
        "\t/CLASS/ NAME=Klasa2[1]\r\n"
        "\r\n"
        "  !Deklaracja stanowisk!\r\n"
        "\t/STATION/ NAME=Stanowisko1\r\n"
        "\t/STATION/ NAME=Stanowisko2\r\n"
        "*END*\r\n"
        "*DESCRIPTION*\r\n"
        "\r\n"
        "  !Opis stanowisk!\r\n"
        "\t/STATION/ NAME=Stanowisko1\r\n"
        "\t\tSCHEDULE=FIFO\r\n"
        "\t\tSERVICE=EXP[]\r\n"
        "\t\tTRANSIT=;\r\n"
        "\t/STATION/ NAME=Stanowisko2\r\n"
        "\t\tSCHEDULE=FIFO\r\n"
        "\t\tSERVICE=EXP[]\r\n"
        "\t\tTRANSIT=;\r\n"
        "*END*";
    const QString text = skeletonText(values);
    QCOMPARE(savedBytes(text), expected);
    QCOMPARE(text.split(QStringLiteral("\r\n")).size(), 22);
}

void TestSkeleton::openNetworkWithoutSchedules() {
    WizardValues values;
    values.networkKind = 1;
    values.classCount = 1;
    values.stationCount = 2;
    values.withSchedules = false;
    const QByteArray expected =
        "SOUR \r\n"
        "*DECLARATION*\r\n"
        "  !Deklaracja \x9fr\xf3\x64\x65\xb3 i klas. Puste nawiasy \"[]\" oznaczaj\xb9 klasy otwarte!\r\n"
        "\t/SOURCE/ NAME=Zrodlo1\r\n"
        "\t/CLASS/ NAME=Klasa1[]\r\n"
        "\r\n"
        "  !Deklaracja stanowisk!\r\n"
        "\t/STATION/ NAME=Stanowisko1\r\n"
        "\t/STATION/ NAME=Stanowisko2\r\n"
        "  !Deklaracja wyj\x9c\x63ia z sieci otwartej!\r\n"
        "\t/OUT/ NAME=OUT\r\n"
        "*END*\r\n"
        "*DESCRIPTION*\r\n"
        "  !Opis \x9fr\xf3\x64\x65\xb3!\r\n"
        "\t/SOURCE/ NAME=Zrodlo1\r\n"
        "\t\tSERVICE=EXP[]\r\n"
        "\t\tTRANSIT=;\r\n"
        "\r\n"
        "  !Opis stanowisk!\r\n"
        "  !Regulaminy obs\xb3ugi zosta\xb3y domy\x9clnie przyj\xeate jako FIFO!\r\n"
        "\t/STATION/ NAME=Stanowisko1\r\n"
        "\t\tSERVICE=EXP[]\r\n"
        "\t\tTRANSIT=;\r\n"
        "\t/STATION/ NAME=Stanowisko2\r\n"
        "\t\tSERVICE=EXP[]\r\n"
        "\t\tTRANSIT=;\r\n"
        "*END*";
    const QString text = skeletonText(values);
    QCOMPARE(savedBytes(text), expected);
    QCOMPARE(text.split(QStringLiteral("\r\n")).size(), 27);
}

void TestSkeleton::lineCountsFollowTheSizes() {
    // Without comments: 2 + R (closed) + 1 + M + 2 + 1 + 4M + 1 lines.
    WizardValues closed;
    closed.withComments = false;
    closed.classCount = 32;
    closed.stationCount = 999;
    const QStringList lines = skeletonText(closed).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 2 + 32 + 1 + 999 + 2 + 1 + 4 * 999 + 1);
    QVERIFY(lines.contains(QStringLiteral("\t/CLASS/ NAME=Klasa32[1]")));
    QVERIFY(lines.contains(QStringLiteral("\t/STATION/ NAME=Stanowisko999")));
    QVERIFY(!skeletonText(closed).contains(QLatin1Char('!')));

    // Open: each class brings a source in both blocks, and the exit appears.
    WizardValues open = closed;
    open.networkKind = 1;
    open.classCount = 3;
    open.stationCount = 1;
    const QStringList openLines = skeletonText(open).split(QStringLiteral("\r\n"));
    QCOMPARE(openLines.size(), 2 + 2 * 3 + 1 + 1 + 1 + 2 + 3 * 3 + 1 + 4 + 1);
    QCOMPARE(openLines.count(QStringLiteral("\t/SOURCE/ NAME=Zrodlo3")), 2);
    QCOMPARE(openLines.count(QStringLiteral("\t/OUT/ NAME=OUT")), 1);
}

QTEST_MAIN(TestSkeleton)
#include "tst_skeleton.moc"
