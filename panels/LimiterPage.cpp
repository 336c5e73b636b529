#include "panels/LimiterPage.h"

#include "model/ValueTables.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace m7410 {

namespace {

template <typename List> QComboBox* makeList(const List& entries, const QString& name, QWidget* p) {
    auto* box = new QComboBox(p);
    for (std::string_view e : entries)
        box->addItem(QString::fromUtf8(e.data(), static_cast<qsizetype>(e.size())));
    box->setAccessibleName(name);
    return box;
}

} // namespace

LimiterPage::LimiterPage(PanelContext context, QWidget* parent)
    : PageFrame(tr("Limiter page"), parent), ctx(context),
      threshold(makeList(LimiterThresholdList, tr("Threshold"), this)),
      attack(makeList(LimiterAttackList, tr("Attack"), this)),
      release(makeList(LimiterReleaseList, tr("Release"), this)) {
    setTitle(tr("Limiter"));
    int y = 26;
    for (auto [text, box] : {std::pair{tr("Threshold"), threshold}, std::pair{tr("Attack"), attack},
                             std::pair{tr("Release"), release}}) {
        auto* label = new QLabel(text, this);
        label->move(10, y + 3);
        box->setGeometry(80, y, 100, 22);
        y += 28;
    }
    // The unit has no ratio setting; the design keeps the list, hidden and unused.
    auto* ration = new QLabel(tr("Ration"), this);
    auto* rationList =
        makeList(std::array<std::string_view, 7>{"0.5 ms/dB", "1 ms/dB", "2 ms/dB", "5 ms/dB",
                                                 "10 ms/dB", "20 ms/dB", "50 ms/dB"},
                 tr("Ration"), this);
    ration->hide();
    rationList->hide();
    resize(192, 112);
    setFocusProxy(threshold);

    connect(threshold, &QComboBox::activated, this, &LimiterPage::thresholdChosen);
    connect(attack, &QComboBox::activated, this, &LimiterPage::attackChosen);
    connect(release, &QComboBox::activated, this, &LimiterPage::releaseChosen);
}

void LimiterPage::fill(int channel) {
    if (channel < 0 || channel >= OutputChannelCount) return;
    const Limiter& l = ctx.model.outputs[channel].limiter;
    for (auto [box, value] : {std::pair{threshold, l.threshold}, std::pair{attack, l.attack},
                              std::pair{release, l.release}}) {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(value < box->count() ? value : -1);
    }
}

Limiter* LimiterPage::currentLimiter() {
    const int ch = ctx.edit.currentChannel;
    if (ch < 0 || ch >= OutputChannelCount) return nullptr;
    return &ctx.model.outputs[ch].limiter;
}

void LimiterPage::chosen(int32_t Limiter::*field, int index, int count) {
    Limiter* l = currentLimiter();
    if (l == nullptr || index < 0 || index >= count) return;
    l->*field = index;
    ctx.builders.QueueLimiterMessage(ctx.edit.currentChannel);
}

void LimiterPage::thresholdChosen(int index) {
    chosen(&Limiter::threshold, index, LimiterThresholdCount);
}
void LimiterPage::attackChosen(int index) {
    chosen(&Limiter::attack, index, LimiterAttackCount);
}
void LimiterPage::releaseChosen(int index) {
    chosen(&Limiter::release, index, LimiterReleaseCount);
}

} // namespace m7410
