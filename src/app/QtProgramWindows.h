#pragma once
// The program's windows beside the main window: each created once, in the
// start order, living for the whole run. The program entry and the GUI tests
// both go through here, so that the order is kept in one place.
namespace didad {

class IEditorWindow;

// Creates frmBrowser, frmStart, frmSelFolder, the snippet dialogs, the
// finalize result, the project settings, the template information and the
// publish windows. frmMain must exist and have passed the engine check.
// Every one is made before any is shown, so that the first click or key
// finds what it opens. (Made after the first paint instead, they showed the
// start dialog a little sooner but left it ready later: they then shared
// the processor with the preview engine's start.)
void CreateProgramWindows();

// Shows the windows of the start: the preview, the main window and the start
// dialog over it.
void ShowStartWindows();

// Deletes them and then frmMain (whose children the dialogs are), and
// clears every instance pointer.
void DestroyProgramWindows();

// Tells the main window the windows it opens; again after one is made anew.
void HandWindowsToMain();

// The main window as the dialogs see it, for a dialog made again later.
IEditorWindow& MainWindowAccess();

} // namespace didad
