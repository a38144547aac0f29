#include "jpegerrors.h"

namespace
{

// Lets the output hook report the error, then returns control to the routine that set the jump
// point. libjpeg requires that the error exit never returns.
[[noreturn]] void exitToCaller(j_common_ptr info)
{
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegErrorManager *>(info->err)->jump, 1);
}

void silentMessage(j_common_ptr)
{
}

} // namespace

jpeg_error_mgr *jpegJumpingErrors(JpegErrorManager &errors, bool silent)
{
    jpeg_error_mgr *library = jpeg_std_error(&errors.library);
    library->error_exit = exitToCaller;
    if (silent)
        library->output_message = silentMessage;
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
