#include "platform/PictureCodecs.h"

#include "platform/Exception.h"

#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

// Rows of 8-bit R, G, B samples, as both libraries take them.
QImage RgbRows(const QImage& Image) {
    return Image.convertToFormat(QImage::Format_RGB888);
}

void AppendPngBytes(png_structp Png, png_bytep Data, png_size_t Length) {
    auto* Out = static_cast<std::string*>(png_get_io_ptr(Png));
    Out->append(reinterpret_cast<const char*>(Data), Length);
}

void FlushNothing(png_structp) {}

// libpng reports a failure by a long jump back into the encoder; nothing
// with a destructor lives between the jump's two ends.
bool WritePng(const QImage& Rows, int Level, std::string& Out) {
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!Png)
        return false;
    png_infop Info = png_create_info_struct(Png);
    if (!Info || setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, &Info);
        return false;
    }
    png_set_write_fn(Png, &Out, AppendPngBytes, FlushNothing);
    png_set_compression_level(Png, Level);
    png_set_IHDR(Png, Info, png_uint_32(Rows.width()), png_uint_32(Rows.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(Png, Info);
    for (int Y = 0; Y < Rows.height(); ++Y)
        png_write_row(Png, const_cast<png_bytep>(Rows.constScanLine(Y)));
    png_write_end(Png, Info);
    png_destroy_write_struct(&Png, &Info);
    return true;
}

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

// The library's default ends the program on an error.
void JumpBack(j_common_ptr Info) {
    std::longjmp(reinterpret_cast<TJpegError*>(Info->err)->Jump, 1);
}

bool WriteJpeg(const QImage& Rows, int Quality, bool Progressive, unsigned char*& Buffer,
               unsigned long& Size) {
    jpeg_compress_struct Info;
    TJpegError Error;
    Info.err = jpeg_std_error(&Error.Manager);
    Error.Manager.error_exit = JumpBack;
    if (setjmp(Error.Jump)) {
        jpeg_destroy_compress(&Info);
        return false;
    }
    jpeg_create_compress(&Info);
    jpeg_mem_dest(&Info, &Buffer, &Size);
    Info.image_width = JDIMENSION(Rows.width());
    Info.image_height = JDIMENSION(Rows.height());
    Info.input_components = 3;
    Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, Quality, TRUE);
    // Best quality: the exact discrete cosine transform and full colour
    // resolution, so that thin coloured lines keep their colour.
    Info.dct_method = JDCT_ISLOW;
    for (int C = 0; C < Info.num_components; ++C)
        Info.comp_info[C].h_samp_factor = Info.comp_info[C].v_samp_factor = 1;
    if (Progressive)
        jpeg_simple_progression(&Info);
    jpeg_start_compress(&Info, TRUE);
    while (Info.next_scanline < Info.image_height) {
        JSAMPROW Row = const_cast<JSAMPROW>(Rows.constScanLine(int(Info.next_scanline)));
        jpeg_write_scanlines(&Info, &Row, 1);
    }
    jpeg_finish_compress(&Info);
    jpeg_destroy_compress(&Info);
    return true;
}

} // namespace

std::string iEncodePng(const QImage& Image, int Level) {
    if (Level < 0 || Level > 9)
        throw Exception("Compression must be in the range of 0-9");
    std::string Out;
    if (Image.isNull() || !WritePng(RgbRows(Image), Level, Out))
        throw Exception("The picture could not be encoded as PNG");
    return Out;
}

std::string iEncodeJpeg(const QImage& Image, int Quality, bool Progressive) {
    if (Quality < 1 || Quality > 100)
        throw Exception("Compression must be in the range of 1-100");
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    const bool Written =
        !Image.isNull() && WriteJpeg(RgbRows(Image), Quality, Progressive, Buffer, Size);
    std::string Out = Written ? std::string(reinterpret_cast<const char*>(Buffer), Size) : "";
    std::free(Buffer);
    if (!Written)
        throw Exception("The picture could not be encoded as JPEG");
    return Out;
}
