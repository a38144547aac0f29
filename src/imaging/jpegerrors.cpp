#include "jpegerrors.h"

namespace glimmerix
{

namespace
{

// Lets the output hook report the error, then returns control to the routine that set the jump
// point. libjpeg requires that the error exit never returns.
[[noreturn]] void exitToCaller(j_common_ptr info)
{
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegErrorManager *>(info->err)->jump, 1);
}

// libjpeg's default prints to standard error; the text is kept for the caller instead, which
// reports it (or not) in its own way.
void keepMessage(j_common_ptr info)
{
    auto *errors = reinterpret_cast<JpegErrorManager *>(info->err);
    (*info->err->format_message)(info, errors->message);
}

} // namespace

jpeg_error_mgr *jpegJumpingErrors(JpegErrorManager &errors)
{
    jpeg_error_mgr *library = jpeg_std_error(&errors.library);
    library->error_exit = exitToCaller;
    library->output_message = keepMessage;
    errors.message[0] = '\0';
    return library;
}

std::int32_t pelsPerMeter(int unit, int density)
{
    switch (unit) {
    case 1:
        return density * 3937 / 100;
    case 2:
        return density * 100;
    default:
        return 0;
    }
}

} // namespace glimmerix
