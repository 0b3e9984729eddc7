#include "editor/QtAutoSave.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>

#include <utility>

#include "model/Errors.h"
#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"
#include "ui/QtAccessibility.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

QtAutoSave::QtAutoSave(const ProjectModel& project, QObject* parent) : QObject(parent), project_(project) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QtAutoSave::TimerDue);
    // One write at a time, in the order they were asked for.
    pool_.setMaxThreadCount(1);
    clock_.start();
}

QtAutoSave::~QtAutoSave() { pool_.waitForDone(); }

void QtAutoSave::Changed() {
    if (!project_.hasProject()) return;
    rules_.Changed(clock_.elapsed());
    Arm();
}

void QtAutoSave::Arm() {
    const qint64 delay = rules_.DelayUntilDue(clock_.elapsed());
    if (delay < 0) {
        timer_.stop();
    } else {
        timer_.start(static_cast<int>(delay));
    }
}

void QtAutoSave::TimerDue() {
    if (rules_.DelayUntilDue(clock_.elapsed()) == 0) {
        SaveNow();
    } else {
        Arm();
    }
}

void QtAutoSave::SaveNow() {
    if (!project_.hasProject() || rules_.Writing()) return;
    // The copy is all the GUI thread pays. Assigned over the last one, its
    // texts reuse their buffers: no allocation per menu. The thread owns it
    // until its write ends, and no other write starts before that.
    copy_ = project_;
    rules_.WriteStarted();
    timer_.stop();
    pool_.start([this] {
        std::string reason;
        const bool folderGone = !PathExists(copy_.projectFolder);
        try {
            if (folderGone) {
                reason = kFolderRemovedReason;
            } else {
                WriteProjectScript(copy_, ScriptMode::Preview);
            }
        } catch (const CannotCreateFile& error) {
            reason = error.reason().empty() ? std::string(error.what()) : error.reason();
        } catch (const std::exception& error) {
            reason = error.what();
        }
        QMetaObject::invokeMethod(
            this, [this, reason, folderGone] { Ended(reason, folderGone); }, Qt::QueuedConnection);
    });
}

void QtAutoSave::Ended(const std::string& reason, bool folderGone) {
    const std::string before = rules_.StatusText();
    rules_.WriteEnded(reason);
    ReportStatus(before);
    Arm();
    emit WriteEnded();
    if (folderGone) emit FolderRemoved();
}

void QtAutoSave::BeforeUserWrite() {
    if (!rules_.Writing()) return;
    pool_.waitForDone();
    // The write's report is queued; take it now, so that the rules know the
    // write is over before the user's own write counts.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void QtAutoSave::AfterUserWrite(bool written) {
    if (!written) return;
    const std::string before = rules_.StatusText();
    rules_.WrittenByUser();
    timer_.stop();
    ReportStatus(before);
}

void QtAutoSave::ReportStatus(const std::string& before) {
    if (rules_.StatusText() != before) emit StatusChanged(FromBytes(rules_.StatusText()));
}

void AddSaveStateLabel(QtAutoSave& autoSave, QFrame* statusLine) {
    auto* label = new QLabel(statusLine);
    label->setObjectName(QStringLiteral("lblSaveState"));
    label->hide();
    // The project's caption gives way to the saves' word while it is shown.
    for (QLabel* other : statusLine->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (other != label) other->setMinimumWidth(1);
    statusLine->layout()->addWidget(label);
    auto* hideLater = new QTimer(label);
    hideLater->setSingleShot(true);
    QObject::connect(hideLater, &QTimer::timeout, label, &QLabel::hide);
    QObject::connect(&autoSave, &QtAutoSave::StatusChanged, label, [label, hideLater](const QString& text) {
        const bool failed = text != QString::fromLatin1(kSavedAgain);
        label->setText(text);
        label->setStyleSheet(failed ? QStringLiteral("color: #c00000;") : QString());
        label->setVisible(!text.isEmpty());
        // Said aloud as well as shown: a save that fails must not go unheard.
        if (!text.isEmpty()) AnnounceChange(label);
        if (failed) {
            hideLater->stop();
        } else {
            hideLater->start(5000);
        }
    });
}

} // namespace didad
