#ifndef VELINOR_PLATFORMFIT_H
#define VELINOR_PLATFORMFIT_H

class QWidget;

namespace velinor {

// The form's fonts and size limits were chosen for Windows' dialog font. Elsewhere this maps
// that font's alias to the application font and lets a widget that a limit would cut grow to
// its size hint, so that every text shows whole. On Windows the form stays exactly as drawn.
void fitFormToPlatform(QWidget &window);

} // namespace velinor

#endif
