#include "Orvel/app/SingleInstance.h"

#include <gtest/gtest.h>

#include "tests/Orvel/state/EventLoop.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

TEST(SingleInstanceTest, HandsLinksToTheRunningInstance) {
    struct Case {
        const char* name;
        QStringList sent;
        QStringList expected;
        bool activates;
    };
    const QString oversized(SingleInstance::maximumMessageBytes + 1, QLatin1Char('a'));
    const std::vector<Case> cases = {
        {"two links, in order",
         {QStringLiteral("orvel://translate?app=X"), QStringLiteral("orvel://translate?app=Y&language=de")},
         {QStringLiteral("orvel://translate?app=X"), QStringLiteral("orvel://translate?app=Y&language=de")},
         true},
        {"no links: only the window comes to the front", {}, {}, true},
        {"non-ASCII text",
         {QStringLiteral("orvel://translate?app=\u00e9")},
         {QStringLiteral("orvel://translate?app=\u00e9")},
         true},
        {"more than a message may hold is dropped", {oversized}, {}, false},
    };
    testing::ScratchFolder scratch;
    const QString name = QString::fromStdString((scratch.path() / "orvel.socket").string());
    SingleInstance instance;
    ASSERT_TRUE(instance.listen(name)) << instance.errorString().toStdString();
    QStringList received;
    int activations = 0;
    QObject::connect(&instance, &SingleInstance::linkReceived,
                     [&](const QString& link) { received << link; });
    QObject::connect(&instance, &SingleInstance::activationRequested, [&] { ++activations; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        received.clear();
        const int activationsBefore = activations;
        // The socket buffers what is sent, so the sender finishes before this thread's loop reads it.
        ASSERT_TRUE(SingleInstance::forward(name, c.sent));
        EXPECT_EQ(testing::processUntil([&] { return activations > activationsBefore; }, 2000), c.activates);
        EXPECT_EQ(received, c.expected);
    }
}

TEST(SingleInstanceTest, FindsNoInstanceWhereNoneListens) {
    testing::ScratchFolder scratch;
    const QString name = QString::fromStdString((scratch.path() / "orvel.socket").string());
    EXPECT_FALSE(SingleInstance::forward(name, {QStringLiteral("orvel://translate?app=X")}, 500));
    // What an instance that crashed leaves behind is taken over.
    testing::writeBytes(scratch.path() / "orvel.socket", "");
    SingleInstance instance;
    EXPECT_TRUE(instance.listen(name)) << instance.errorString().toStdString();
}

} // namespace
} // namespace orvel
