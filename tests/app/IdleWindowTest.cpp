// A connected window left alone keeps polling the unit but draws nothing: every repaint of
// an unchanged picture is CPU spent twice a second for as long as the program runs.
#include "WindowFixture.h"

#include "app/TopGroup.h"
#include "link/TrafficLog.h"
#include "protocol/Session.h"

#include <QPushButton>

#include <map>

namespace m7410::test {
namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint || event->type() == QEvent::StyleChange)
            ++counts[watched->metaObject()->className()];
        return false;
    }
    std::map<std::string, int> counts;
};

using IdleWindowTest = WindowFixture;

TEST_F(IdleWindowTest, PollingAnUnchangedUnitRepaintsNothing) {
    MainWindow& w = openWindow();
    clock.runDue();
    QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
    clock.advance(5000);
    ASSERT_EQ(w.session().linkOpen(), 1);
    QCoreApplication::processEvents();

    PaintCounter painted;
    qApp->installEventFilter(&painted);
    const int lines = w.trafficLog().count();
    for (int i = 0; i < 50; ++i) {
        clock.advance(100);
        QCoreApplication::processEvents();
    }
    qApp->removeEventFilter(&painted);
    EXPECT_GT(w.trafficLog().count(), lines + 5) << "the unit was polled all along";
    std::string drawn;
    for (const auto& [widget, n] : painted.counts)
        drawn += widget + " " + std::to_string(n) + "; ";
    EXPECT_TRUE(painted.counts.empty()) << drawn;
}

} // namespace
} // namespace m7410::test
