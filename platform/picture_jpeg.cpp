// JPEG decoding with libjpeg. libjpeg reports errors through a callback that must not return;
// it leaves through longjmp back into decodeJpeg, so the code that libjpeg may jump out of
// (runDecoder) holds no object with a destructor of its own.

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "platform/picture.h"

namespace {

// A progressive file can carry endless scans that each redo the whole picture.
constexpr int maxProgressiveScans = 500;

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void failJpeg(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings are tolerated except a premature end of the file: libjpeg would grey-fill the
// missing rest of the picture.
void checkWarning(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) failJpeg(cinfo);
}

void silent(j_common_ptr) {}

void limitScans(j_common_ptr cinfo) {
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->progressive_mode && d->input_scan_number > maxProgressiveScans) failJpeg(cinfo);
}

// CMYK pictures (as Adobe writes them, with inverted channels) converted to RGB.
void cmykRowToRgb(const JSAMPLE* cmyk, QRgb* out, int width) {
  for (int x = 0; x < width; ++x, cmyk += 4) {
    const int k = cmyk[3];
    out[x] = qRgb(cmyk[0] * k / 255, cmyk[1] * k / 255, cmyk[2] * k / 255);
  }
}

// Decodes at the smallest of libjpeg's scales 1/8 ... 8/8 that still covers the size the
// picture will be reduced to, so that a huge picture never exists at its full size.
void chooseScale(jpeg_decompress_struct* cinfo, QSize largest) {
  const QSize wanted = fittedSize(QSize(cinfo->image_width, cinfo->image_height), largest);
  cinfo->scale_denom = 8;
  for (cinfo->scale_num = 1; cinfo->scale_num < 8; ++cinfo->scale_num) {
    jpeg_calc_output_dimensions(cinfo);
    if (int(cinfo->output_width) >= wanted.width() && int(cinfo->output_height) >= wanted.height())
      return;
  }
}

bool runDecoder(jpeg_decompress_struct* cinfo, const QByteArray& data, QSize largest,
                QImage* image) {
  jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
               static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!pictureSizeAllowed(cinfo->image_width, cinfo->image_height)) return false;
  chooseScale(cinfo, largest);

  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  // libjpeg writes the bytes of QImage::Format_RGB32 directly in this order.
  cinfo->out_color_space = cmyk                              ? JCS_CMYK
                           : Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX
                                                             : JCS_EXT_XRGB;
  jpeg_start_decompress(cinfo);

  *image = QImage(cinfo->output_width, cinfo->output_height, QImage::Format_RGB32);
  if (image->isNull()) return false;
  JSAMPARRAY cmykRow = cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                          JPOOL_IMAGE, cinfo->output_width * 4, 1)
                            : nullptr;
  while (cinfo->output_scanline < cinfo->output_height) {
    uchar* line = image->scanLine(cinfo->output_scanline);
    if (cmyk) {
      jpeg_read_scanlines(cinfo, cmykRow, 1);
      cmykRowToRgb(cmykRow[0], reinterpret_cast<QRgb*>(line), image->width());
    } else {
      JSAMPROW row = line;
      jpeg_read_scanlines(cinfo, &row, 1);
    }
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& data, QSize largest) {
  if (pictureFormat(data) != PictureFormat::Jpeg) return {};
  QImage image;
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = failJpeg;
  errors.pub.emit_message = checkWarning;
  errors.pub.output_message = silent;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = limitScans;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return {};
  }
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  // Coefficient buffers of progressive pictures count against the same bound as the pixels.
  cinfo.mem->max_memory_to_use = picture::maxDecodedBytes;
  const bool ok = runDecoder(&cinfo, data, largest, &image);
  jpeg_destroy_decompress(&cinfo);
  return ok ? image : QImage();
}
