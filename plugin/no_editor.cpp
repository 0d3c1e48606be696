#include "plugin/editor_factory.h"

// A binary without an editor window: the host sees no editor flag.
AEffEditor* CreateEditor(AudioEffect*) { return nullptr; }
