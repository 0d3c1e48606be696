#pragma once
// Opening a web address in the user's default browser. Failures are not reported.
namespace platform {
void OpenUrl(const char* url);
}
