// The engine's access to a QApplication. The engine lives in someone else's
// process: it uses the host's QApplication when there is one, and otherwise
// creates its own when a window is first needed, but only when a display can
// be reached (or QT_QPA_PLATFORM names a platform, as tests do), because Qt
// ends the whole process when it finds no platform.
#pragma once

namespace kovra {

// True when widgets can be made and shown on the calling thread: a
// QApplication exists (one is created if none exists and a display can be
// reached) and the calling thread is its thread.
bool GuiReady();

// True when a QApplication exists (creating one as GuiReady does), whatever
// the calling thread.
bool GuiApplicationExists();

// True when the QApplication is the engine's own, not the host's.
bool EngineOwnsGuiApplication();

}  // namespace kovra
