// Stands in on Windows for a test whose subject the system does not have (a pseudo-terminal, a preloaded
// library, Unix permissions), so that the run lists it as skipped, with the reason, rather than leaving it
// out.
#include <QTest>

class SkippedTest : public QObject
{
    Q_OBJECT

private slots:
    void notOnThisSystem() { QSKIP(TALVEX_SKIP_REASON); }
};

QTEST_GUILESS_MAIN(SkippedTest)
#include "test_skipped_here.moc"
