// The notification messages, compared by the identity of these constants.
#include "gui/base.h"

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";
const char* const kMsgLooseFocus = "LooseFocus";
const char* const kMsgTimerFired = "timer fired";
