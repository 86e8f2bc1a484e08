// The end of a program while its background work runs: nothing a worker does after the end of main may
// meet the application or a destroyed static, and the program ends with the status main() gives.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(ProgramEnd, BackgroundWorkNeverRunsIntoTheEndOfTheProgram) {
    struct Case {
        const char* name;
        int works, lengthMs, waitMs;
        // On an end that waited for all of it.
        bool allFinished;
    };
    const std::vector<Case> cases{
        {"work that ends within the wait", 8, 5, 20000, true},
        {"work that runs past the wait", 4, 2000, 50, false},
        // More works than the pool has threads: most are still waiting for one when the wait ends.
        {"work waiting for a thread past the wait", 200, 200, 50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess probe;
        probe.start(QStringLiteral(ORVEL_PROGRAM_END_PROBE),
                    {QString::number(c.works), QString::number(c.lengthMs), QString::number(c.waitMs)});
        ASSERT_TRUE(probe.waitForFinished(60000));
        const QString output = QString::fromUtf8(probe.readAllStandardOutput());
        const QString errors = QString::fromUtf8(probe.readAllStandardError());
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit) << errors.toStdString();
        EXPECT_EQ(probe.exitCode(), 0) << errors.toStdString();
        EXPECT_FALSE(errors.contains(QStringLiteral("after the end"))) << errors.toStdString();
        EXPECT_FALSE(errors.contains(QStringLiteral("runtime error"))) << errors.toStdString();
        EXPECT_FALSE(errors.contains(QStringLiteral("ERROR:"))) << errors.toStdString();
        if (c.allFinished) {
            EXPECT_TRUE(output.contains(QStringLiteral("finished %1 of %1").arg(c.works)))
                << output.toStdString();
            EXPECT_TRUE(output.contains(QStringLiteral("statics ended"))) << output.toStdString();
        }
    }
}

} // namespace
} // namespace orvel
