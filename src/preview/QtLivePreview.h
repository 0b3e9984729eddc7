#pragma once
// Live preview on the Qt side: the "Live" check box of the main window, the
// timer that paces the statements, and the page's state (the preview page,
// loading, or another page the user went to).
#include <QObject>

#include <functional>
#include <set>

#include "model/ProjectModel.h"
#include "preview/LiveChanges.h"

class QCheckBox;
class QTimer;

namespace didad {

class QtLivePreview : public QObject {
    Q_OBJECT
public:
    // `box` is on when its remembered state says so (on the first run too).
    // `lagging` gives Update Preview its pending look whatever the box says.
    QtLivePreview(const ProjectModel& model, QCheckBox* box, std::function<void()> lagging, QObject* parent);

    bool IsOn() const;
    // On, and the page that is shown (or being loaded) is the preview page:
    // a change of a menu will reach it, the button need not say otherwise.
    bool Follows() const;
    // Entry `index` changed in the editor.
    void EntryChanged(int index);
    // The preview page is being loaded from a script of the model as it is now.
    void Reloading();

    // The settings key of the box's state.
    static constexpr const char* kSettingsKey = "LivePreview";

private:
    enum class Page { Preview, Loading, Other };
    Page Shown() const;
    void Send(int index);
    void SendDue();
    void Schedule();
    void PageLoaded();
    void Toggled(bool on);

    const ProjectModel& model_;
    QCheckBox* box_;
    std::function<void()> lagging_;
    QTimer* timer_;
    LiveThrottle throttle_;
    std::set<int> held_; // changed while the page loads
    bool watchingLoads_ = false;
    // A load the editor did not start (a link followed) is under way.
    bool foreignLoad_ = false;
    // Statements went to the page since it was loaded from the model: a page
    // loaded by anything but the editor has lost them.
    bool sentSinceReload_ = false;
};

} // namespace didad
