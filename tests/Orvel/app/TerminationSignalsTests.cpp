#include "Orvel/app/TerminationSignals.h"

#include <gtest/gtest.h>

#include <csignal>

#include "tests/Orvel/state/EventLoop.h"

namespace orvel {
namespace {

TEST(TerminationSignalsTest, EachEndingSignalReachesTheMainThread) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        TerminationSignals endings;
        int received = 0;
        QObject::connect(&endings, &TerminationSignals::received, [&] { ++received; });
        ASSERT_EQ(::raise(signalNumber), 0);
        EXPECT_TRUE(testing::processUntil([&] { return received > 0; }, 3000));
    }
}

} // namespace
} // namespace orvel
