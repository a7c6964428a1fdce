#pragma once
#include <string>

// Writes `contents` (bytes, not text) to `name` in a directory of this test
// process's own under the system's temporary directory (with the folders
// `name` holds), and returns the path. Aborts the test program when the file cannot be written.
std::string writeTempFile(const std::string& name, const std::string& contents);
