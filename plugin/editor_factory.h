#pragma once

class AudioEffect;
class AEffEditor;

// Makes the plug-in's editor, which installs itself as the effect's editor.
// Each binary links one definition: the real editor where a window system is
// available, or none (null, no editor flag) where it is not.
AEffEditor* CreateEditor(AudioEffect* effect);
