#pragma once
#include <string>
#include <string_view>

// Writes `bytes` to a temporary file in the target's folder and renames it
// over the target, so a reader never sees half a file and a failure leaves
// the old file whole. Raises EKavError naming the file and the system's reason.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
