#pragma once
// Test hooks: counters and switches that let tests see what the framework and its window
// systems make (pens, brushes, clips, fonts, resampled images, GDI objects). They are
// compiled only into the test builds of the libraries, which define SORAVEL_TEST_HOOKS
// (soravel_gui_tested, soravel_win32_tested): the libraries the plug-ins link count
// nothing and carry none of them. A program links the test builds throughout or not at
// all, since the hooks change the layout of the classes that hold them.
#ifdef SORAVEL_TEST_HOOKS
#define SORAVEL_TEST_HOOK(...) __VA_ARGS__
#else
#define SORAVEL_TEST_HOOK(...)
#endif
