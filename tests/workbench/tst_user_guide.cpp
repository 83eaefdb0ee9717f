// The user guide: every network in it is solved by the built solver with
// each method the guide names for it, and the guide has a network for every
// method of the method list.
#include <QProcess>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QtTest>

#include "workbench/text_codec.h"

namespace {

struct Sample {
    QString text;
    QStringList methods;  // empty: the <pre> is not marked as a network
    int line = 0;         // in the page, for messages
};

// Every <pre> of the page, its text as the browser shows it.
QList<Sample> preformattedBlocks(const QString& page) {
    static const QRegularExpression pre(QStringLiteral("<pre([^>]*)>(.*?)</pre>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression marked(QStringLiteral("class=\"siec\"\\s+data-metody=\"([^\"]*)\""));
    QList<Sample> samples;
    for (auto match = pre.globalMatch(page); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        Sample sample;
        QString body = m.captured(2);
        if (body.startsWith(QLatin1Char('\n'))) body.remove(0, 1);  // the line break after <pre> is not text
        sample.text = QTextDocumentFragment::fromHtml(QStringLiteral("<pre>%1</pre>").arg(body)).toPlainText();
        if (const QRegularExpressionMatch methods = marked.match(m.captured(1)); methods.hasMatch())
            sample.methods = methods.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        sample.line = int(page.left(m.capturedStart()).count(QLatin1Char('\n'))) + 1;
        samples << sample;
    }
    return samples;
}

}  // namespace

class TestUserGuide : public QObject {
    Q_OBJECT
  private slots:
    void everyNetworkPassesItsMethods();

  private:
    QTemporaryDir dir_;
};

void TestUserGuide::everyNetworkPassesItsMethods() {
    QFile file(QStringLiteral(KOLT_SOURCE_DIR "/workbench/data/winkolt-help.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<Sample> samples = preformattedBlocks(QString::fromUtf8(file.readAll()));

    QSet<QString> covered;
    int solved = 0;
    for (const Sample& sample : samples) {
        // A network left unmarked would go unchecked.
        const bool network = sample.text.trimmed().startsWith(QStringLiteral("SOUR"));
        QVERIFY2(network == !sample.methods.isEmpty(),
                 qPrintable(QStringLiteral("<pre> at line %1: a network is marked with class=\"siec\" and its "
                                           "methods, and only a network")
                                .arg(sample.line)));
        if (!network) continue;
        const QString path = dir_.filePath(QStringLiteral("przewodnik-%1.klt").arg(sample.line));
        QFile networkFile(path);
        QVERIFY(networkFile.open(QIODevice::WriteOnly));
        networkFile.write(encodeCp1250(sample.text));
        networkFile.close();
        for (const QString& method : sample.methods) {
            QProcess solver;
            solver.setWorkingDirectory(dir_.path());
            solver.setProcessChannelMode(QProcess::MergedChannels);
            solver.start(QStringLiteral(KOLT_SOLVER_PATH), {path, method});
            solver.closeWriteChannel();
            QVERIFY(solver.waitForFinished(120000));
            QVERIFY2(solver.exitStatus() == QProcess::NormalExit && solver.exitCode() == 0,
                     qPrintable(QStringLiteral("network at line %1 with %2:\n%3")
                                    .arg(sample.line)
                                    .arg(method, decodeCp1250(solver.readAll()))));
            covered.insert(method);
            ++solved;
        }
    }
    QVERIFY(solved >= 6);
    for (const char* method : {"MVA", "MVAP", "HMVA", "JACKSON", "DIFF", "SIMUL"})
        QVERIFY2(covered.contains(QString::fromLatin1(method)), method);
}

QTEST_MAIN(TestUserGuide)
#include "tst_user_guide.moc"
