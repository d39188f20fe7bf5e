#pragma once
// Internal to platform/ui: the layer's process-wide hooks.

// Installs, once, the key translation (accelerators, dialog keys, the
// system menu's Alt+Space, lock keys) and the idle pass on the running
// QApplication. Called by SetUiThread and when the first window is made.
void InstallUiLayerHooks();
// Something happened that may change what update handlers answer; the next
// time the event loop runs dry, an idle pass runs.
void NoteUiActivity();
