#pragma once
// Writing into the module's own machine code: the pages are opened for writing only while the
// bytes are written and are read-and-execute again afterwards.
#include <cstddef>
#include <cstdint>

// Makes the pages spanning [address, address + size) readable, writable and executable.
// Throws std::system_error with the OS error when the protection cannot be changed.
void MakeCodeWritable(void* address, size_t size);

// Returns the pages spanning [address, address + size) to read and execute; best effort.
void ProtectCode(void* address, size_t size) noexcept;

// Copies size bytes to address inside code, then protects the pages again.
void WriteCode(void* address, const uint8_t* bytes, size_t size);
