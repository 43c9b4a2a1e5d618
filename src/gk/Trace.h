#pragma once

// Trace lines for the developer: the display and the programs built on it send texts to the
// trace viewer (tools/gktrace), a window captioned "GK Trace" that lists them as they come.
//
// The viewer listens on a local socket of the user's own named after its window: "GK Trace" in
// $XDG_RUNTIME_DIR, or "GK Trace-<user id>" in the temporary folder where there is no runtime
// folder. Each text travels over a connection of its own, as its UTF-8 bytes followed by a zero
// byte.

#include <QString>

namespace gk {

// The caption of the viewer's window, which names its socket.
inline constexpr const char *TraceWindowCaption = "GK Trace";
// Texts are cut to this many characters before they are sent.
inline constexpr int TraceLengthLimit = 255;

// Where the viewer listens for the user running this program.
QString TraceSocketPath();

// Sends `text`, cut to 255 characters, to the viewer. Does nothing when no viewer listens (or
// the socket there is not the user's own), and never makes the caller wait: a viewer too busy
// to take the text at once loses it.
void Trace(const QString &text);

} // namespace gk
