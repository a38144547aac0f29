#pragma once

// libjpeg glue shared by the JPEG codec and the album's JPEG thumbnailer: the error exit that
// jumps back to the caller (defined once, in jpegerrors.cpp) and the JFIF resolution.

#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace glimmerix
{

// libjpeg's error record with the jump point its error exit returns to. The routine that makes
// the library calls sets `jump` with setjmp and, between that and the end of its library work,
// holds no C++ object with a destructor; after the jump it must call jpeg_destroy_*.
struct JpegErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf jump;
    // The library's last warning or error text, for the caller's detail; empty when none.
    char message[JMSG_LENGTH_MAX];
};

// Prepares `errors` and returns the pointer for the compressor's or decompressor's `err` field.
// Nothing is ever printed: warnings and errors are kept in `errors.message`, and a fatal error
// then longjmps to `errors.jump`.
jpeg_error_mgr *jpegJumpingErrors(JpegErrorManager &errors);

// Pixels per metre from a JFIF density (unit 1: dots per inch, 2: dots per centimetre; other
// units carry no resolution).
std::int32_t pelsPerMeter(int unit, int density);

} // namespace glimmerix
