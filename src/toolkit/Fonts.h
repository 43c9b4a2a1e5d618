#pragma once

namespace toolkit {

// Maps the classic fonts the windows are designed with to installed ones. Once, at start-up.
void mapClassicFonts();

} // namespace toolkit
