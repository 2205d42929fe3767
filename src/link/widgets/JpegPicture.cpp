#include "link/widgets/JpegPicture.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void errorExit(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(errors->jump, 1);
}

void ignoreMessage(j_common_ptr) {}
} // namespace

QImage JpegPicture::decode(const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        return {};

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = ignoreMessage;

    // Everything that must survive a longjmp lives outside this frame's
    // automatic variables that change after setjmp.
    QImage *volatile image = new QImage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image->isNull() || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);

    QImage result = *image;
    delete image;
    return result;
}

QImage JpegPicture::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decode(file.readAll());
}
