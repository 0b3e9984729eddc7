// The GUI thread's share of an automatic save at 10, 1,000 and 10,000 menus:
// the time SaveNow() holds the GUI thread (the project's copy and the hand-
// over to the writing thread), against the whole save until the write is on
// the disk. The GUI thread's median at 10,000 menus is to stay under 5 ms.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "editor/QtAutoSave.h"
#include "model/ScriptWriter.h"

#include "BenchStats.h"

using namespace didad;
using didad::bench::Median;

namespace {

std::string RandomText(std::mt19937& random, std::size_t length) {
    static const std::string plain = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJ<>=/.0123456789\"";
    std::string text;
    while (text.size() < length) text += plain[random() % plain.size()];
    return text;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    constexpr int kRounds = 31;
    std::printf("%-8s %14s %14s\n", "menus", "GUI thread ms", "whole save ms");
    for (const int menus : {10, 1000, 10000}) {
        ProjectModel model;
        model.ResetForNewProject();
        model.projectFolder = QDir(folder.path()).filePath(QString::number(menus)).toStdString();
        std::mt19937 random(static_cast<unsigned>(menus));
        for (int i = 0; i < menus; ++i) {
            model.AddMenuEntry();
            model.entries.back().MTC = RandomText(random, 20 + random() % 21);
            model.entries.back().MTM = RandomText(random, 300);
        }
        WriteProjectScript(model, ScriptMode::Preview);

        QtAutoSave autoSave(model);
        std::vector<double> gui;
        std::vector<double> whole;
        for (int round = 0; round < kRounds; ++round) {
            QEventLoop loop;
            QObject::connect(&autoSave, &QtAutoSave::WriteEnded, &loop, &QEventLoop::quit);
            QElapsedTimer clock;
            clock.start();
            autoSave.SaveNow();
            gui.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            loop.exec();
            whole.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        std::printf("%-8d %14.3f %14.3f\n", menus, Median(gui), Median(whole));
    }
    return 0;
}
