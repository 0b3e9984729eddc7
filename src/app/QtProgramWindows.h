#pragma once
// The program's windows beside the main window: each created once, in the
// start order, living for the whole run. The program entry and the GUI tests
// both go through here, so that the order is kept in one place.
namespace didad {

class IEditorWindow;

// Creates frmBrowser, frmStart, frmSelFolder, the snippet dialogs, the
// finalize result, the project settings and the template information windows.
// frmMain must exist and have passed the engine check.
void CreateProgramWindows();

// The same in two steps, as the program starts: the windows shown at start
// (the preview and the start dialog), then the dialogs opened from them.
// MakeDialogsOncePainted leaves the dialogs for just after the start dialog
// is first painted; a button that needs one before then has it made at once.
// CreateDialogs makes them once, however often it is called.
void CreateStartWindows();
void CreateDialogs();
void MakeDialogsOncePainted();

// Deletes them and then frmMain (whose children the dialogs are), and
// clears every instance pointer.
void DestroyProgramWindows();

// Tells the main window the windows it opens; again after one is made anew.
void HandWindowsToMain();

// The main window as the dialogs see it, for a dialog made again later.
IEditorWindow& MainWindowAccess();

} // namespace didad
