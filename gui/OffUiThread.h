#pragma once
// Runs slow work (deriving a key, reading a large file) on a thread of its
// own while the calling user-interface thread keeps painting: its events go
// on, except the user's input, which waits until the work is done. Returns
// when the work has; an exception the work throws is thrown here.

#include <functional>

void RunOffUiThread(const std::function<void()>& work);
