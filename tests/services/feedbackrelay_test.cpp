#include "services/feedback.h"
#include "services/feedbackrelay.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using tarvelo::services::FeedbackEvent;
using tarvelo::services::FeedbackRelay;

namespace {

class Target : public QObject
{
public:
    std::vector<int> values;
    std::function<void(int)> onValue;

    bool event(QEvent *e) override
    {
        if (e->type() != FeedbackEvent::kType)
            return QObject::event(e);
        const int v = static_cast<FeedbackEvent *>(e)->value();
        values.push_back(v);
        if (onValue)
            onValue(v);
        return true;
    }
};

class FeedbackRelayTest : public testing::Test
{
protected:
    void process()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    int argc_ = 1;
    char name_[8] = "relay";
    char *argv_[2] = {name_, nullptr};
    QCoreApplication app_ {argc_, argv_};
};

} // namespace

TEST_F(FeedbackRelayTest, DeliversEveryValueInOrderFromAnotherThread)
{
    Target target;
    bool ended = false;
    auto *relay = new FeedbackRelay(&target, [&] {
        ended = true;
        EXPECT_EQ(target.values.size(), 20000u) << "the end comes before the value 100 does";
    });
    std::thread sender([relay] {
        for (int i = 0; i < 20000; ++i)
            relay->send(i % 100);
        relay->send(100);
    });
    QElapsedTimer t;
    t.start();
    while (target.values.size() < 20001 && t.elapsed() < 10000)
        QCoreApplication::processEvents();
    sender.join();
    process();
    ASSERT_EQ(target.values.size(), 20001u);
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(target.values[static_cast<std::size_t>(i)], i % 100);
    EXPECT_EQ(target.values.back(), 100);
    EXPECT_TRUE(ended);
    relay->discard();
}

TEST_F(FeedbackRelayTest, ADeletedTargetReceivesNothing)
{
    auto *target = new Target;
    std::vector<int> *seen = &target->values;
    auto *relay = new FeedbackRelay(target, {});
    relay->send(1);
    process();
    ASSERT_EQ(*seen, std::vector<int> {1});
    delete target;
    relay->send(2);
    relay->send(100);
    process();  // no crash, nothing to deliver to
    relay->discard();
}

TEST_F(FeedbackRelayTest, DiscardDropsWhatIsStillQueued)
{
    Target target;
    auto *relay = new FeedbackRelay(&target, [] { ADD_FAILURE() << "a discarded relay ended"; });
    relay->send(5);
    relay->send(100);
    relay->discard();
    process();
    EXPECT_TRUE(target.values.empty());
}

// The target's handler may discard the player whose value it is handling (the end of a
// track starts the next one): the rest of the queue is dropped and the relay goes safely.
TEST_F(FeedbackRelayTest, DiscardFromInsideADelivery)
{
    Target target;
    auto *relay = new FeedbackRelay(&target, {});
    target.onValue = [&](int v) {
        if (v == 2)
            relay->discard();
    };
    for (int v : {1, 2, 3, 100})
        relay->send(v);
    process();
    EXPECT_EQ(target.values, (std::vector<int> {1, 2}));
}
