#pragma once

class QStyle;

namespace ziwei::desktop {

// The style of the window's coloured buttons and its frames, on top of
// Fusion: a button's face is filled with its palette's button colour as it
// is (Fusion lightens it into a pale gradient), inside a dark border; a
// frame is an etched line that shows on the olive background. Set it on
// those widgets alone (QWidget::setStyle): their children keep the
// application's style. One instance, owned by the application.
QStyle* faceStyle();

}  // namespace ziwei::desktop
