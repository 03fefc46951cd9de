#pragma once

// The templates and the user interface ask for 宋体, which Linux lacks: substitute the CJK
// font we install, so the screen, the printer and the PDF show the same glyphs. Call once
// after the application object exists.
void installReportFonts();
