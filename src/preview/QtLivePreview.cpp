#include "preview/QtLivePreview.h"

#include <QCheckBox>
#include <QSettings>
#include <QTimer>
#include <QWebEngineView>

#include <chrono>

#include "preview/TfrmBrowser.h"
#include "ui/QtMessageBoxes.h"
#include "ui/SettingsStore.h"

namespace didad {

namespace {
LiveThrottle::Time Now() { return std::chrono::steady_clock::now(); }
} // namespace

QtLivePreview::QtLivePreview(const ProjectModel& model, QCheckBox* box, std::function<void()> lagging, QObject* parent)
    : QObject(parent), model_(model), box_(box), lagging_(std::move(lagging)), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &QtLivePreview::SendDue);
    box_->setChecked(SettingsStore().value(QString::fromLatin1(kSettingsKey), true).toBool());
    connect(box_, &QCheckBox::toggled, this, &QtLivePreview::Toggled);
}

bool QtLivePreview::IsOn() const { return box_->isChecked(); }

bool QtLivePreview::Follows() const { return IsOn() && Shown() != Page::Other; }

QtLivePreview::Page QtLivePreview::Shown() const {
    if (!frmBrowser || foreignLoad_) return Page::Other;
    if (frmBrowser->Navigation().Navigating()) return Page::Loading;
    return frmBrowser->PreviewPageShown() ? Page::Preview : Page::Other;
}

void QtLivePreview::EntryChanged(int index) {
    if (!IsOn()) return;
    if (Shown() == Page::Preview && !throttle_.Change(index, Now())) {
        Schedule();
        return;
    }
    Send(index);
}

void QtLivePreview::Send(int index) {
    switch (Shown()) {
    case Page::Other:
        // Nothing goes to a page the user went to; the preview lags until
        // Update Preview (or "Back to Preview") loads it again.
        lagging_();
        return;
    case Page::Loading: held_.insert(index); return;
    case Page::Preview: break;
    }
    if (index < 0 || index >= model_.numOfMenus()) return;
    frmBrowser->RunInPreview(FromBytes(LiveMenuStatement(model_, index)));
    sentSinceReload_ = true;
}

void QtLivePreview::SendDue() {
    for (int index : throttle_.Due(Now())) Send(index);
    Schedule();
}

void QtLivePreview::Schedule() {
    const auto next = throttle_.NextDue();
    if (!next) return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - Now());
    timer_->start(std::max<int>(0, static_cast<int>(wait.count())));
}

void QtLivePreview::Reloading() {
    throttle_.Clear();
    held_.clear();
    timer_->stop();
    sentSinceReload_ = false;
    foreignLoad_ = false;
    if (!watchingLoads_ && frmBrowser) {
        connect(frmBrowser, &TfrmBrowser::documentCompleted, this, &QtLivePreview::PageLoaded);
        // Told apart at its start: the editor's own loads set the navigation flag first.
        connect(frmBrowser->WebBrowser1, &QWebEngineView::loadStarted, this,
                [this] { foreignLoad_ = !frmBrowser->Navigation().Navigating(); });
        watchingLoads_ = true;
    }
}

void QtLivePreview::PageLoaded() {
    const std::set<int> held = std::move(held_);
    held_.clear();
    if (foreignLoad_) {
        foreignLoad_ = false;
        if (IsOn() && sentSinceReload_) lagging_();
    }
    if (!IsOn()) return;
    for (int index : held) EntryChanged(index);
}

void QtLivePreview::Toggled(bool on) {
    SettingsStore().setValue(QString::fromLatin1(kSettingsKey), on);
    if (on) return;
    // What waits goes out now; what the loading page cannot take any more
    // leaves the preview behind the editor, as every later change will.
    timer_->stop();
    for (int index : throttle_.TakeWaiting()) Send(index);
    if (!held_.empty()) lagging_();
    held_.clear();
}

} // namespace didad
