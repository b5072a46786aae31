// The libjpeg output module writing a packed bottom-up DIB into memory.
#include "tour/dib_destination.h"

#include <string.h>

#include <jerror.h>

// Only 1005 and 1006 are ever raised; the remaining codes of the range have
// no text.
const char* const kAddonMessageTable[kLastAddonMessage - kFirstAddonMessage + 1] = {
    "",  // 1000: the first code of the range carries no message
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "BMP output must be grayscale or RGB",                                // 1005
    "Image of %u x %u pixels is larger than a scene may be (%u pixels)",  // 1006
};

namespace {

const DWORD kHeaderBytes = 40;
const DWORD kGreyRampEntries = 256;

bool IsGreyscale(j_decompress_ptr decoder) {
  return decoder->out_color_space == JCS_GRAYSCALE;
}

void StartOutput(j_decompress_ptr, DibDestination*) {}

JSAMPROW NextImageRow(j_decompress_ptr decoder, DibDestination* destination) {
  JSAMPARRAY row = (*decoder->mem->access_virt_sarray)(reinterpret_cast<j_common_ptr>(decoder),
                                                       destination->whole_image,
                                                       destination->current_output_row, 1, TRUE);
  destination->current_output_row++;
  return row[0];
}

// libjpeg's RGB samples become the DIB's blue, green, red bytes.
void PutRgbRows(j_decompress_ptr decoder, DibDestination* destination, JDIMENSION) {
  JSAMPROW out = NextImageRow(decoder, destination);
  JSAMPROW in = destination->buffer[0];
  for (JDIMENSION column = 0; column < decoder->output_width; column++) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    out += 3;
    in += 3;
  }
  for (int pad = 0; pad < destination->pad_bytes; pad++) {
    *out++ = 0;
  }
}

// Greyscale samples are palette indices into the grey ramp, copied as they are.
void PutGreyRows(j_decompress_ptr decoder, DibDestination* destination, JDIMENSION) {
  JSAMPROW out = NextImageRow(decoder, destination);
  memcpy(out, destination->buffer[0], destination->data_width);
  out += destination->data_width;
  for (int pad = 0; pad < destination->pad_bytes; pad++) {
    *out++ = 0;
  }
}

void Put32(JOCTET* at, DWORD value) {
  at[0] = static_cast<JOCTET>(value);
  at[1] = static_cast<JOCTET>(value >> 8);
  at[2] = static_cast<JOCTET>(value >> 16);
  at[3] = static_cast<JOCTET>(value >> 24);
}

void Put16(JOCTET* at, WORD value) {
  at[0] = static_cast<JOCTET>(value);
  at[1] = static_cast<JOCTET>(value >> 8);
}

void FinishOutput(j_decompress_ptr decoder, DibDestination* destination) {
  const bool grey = IsGreyscale(decoder);
  const DWORD colors = grey ? kGreyRampEntries : 0;
  DWORD x_pels = 0;
  DWORD y_pels = 0;
  if (decoder->density_unit == 2) {  // dots per centimetre
    x_pels = static_cast<DWORD>(decoder->X_density) * 100;
    y_pels = static_cast<DWORD>(decoder->Y_density) * 100;
  }

  // biSizeImage is left 0 here; the bitmap fills it in after decoding.
  JOCTET* header = destination->write_position;
  memset(header, 0, kHeaderBytes);
  Put32(header + 0, kHeaderBytes);
  Put32(header + 4, decoder->output_width);
  Put32(header + 8, decoder->output_height);
  Put16(header + 12, 1);
  Put16(header + 14, grey ? 8 : 24);
  Put32(header + 24, x_pels);
  Put32(header + 28, y_pels);
  Put32(header + 32, colors);
  destination->write_position += kHeaderBytes;

  if (grey) {
    for (DWORD i = 0; i < kGreyRampEntries; i++) {
      JOCTET* entry = destination->write_position;
      entry[0] = entry[1] = entry[2] = static_cast<JOCTET>(i);
      entry[3] = 0;
      destination->write_position += 4;
    }
  }

  // Bottom-up: the last decoded row is stored first.
  for (JDIMENSION row = decoder->output_height; row > 0; row--) {
    JSAMPARRAY image_row = (*decoder->mem->access_virt_sarray)(
        reinterpret_cast<j_common_ptr>(decoder), destination->whole_image, row - 1, 1, FALSE);
    memcpy(destination->write_position, image_row[0], destination->row_width);
    destination->write_position += destination->row_width;
  }
}

}  // namespace

DibDestination* InitDibDestination(j_decompress_ptr decoder) {
  auto* destination = static_cast<DibDestination*>((*decoder->mem->alloc_small)(
      reinterpret_cast<j_common_ptr>(decoder), JPOOL_IMAGE, sizeof(DibDestination)));
  destination->start_output = StartOutput;
  destination->finish_output = FinishOutput;
  if (decoder->out_color_space == JCS_GRAYSCALE) {
    destination->put_pixel_rows = PutGreyRows;
  } else if (decoder->out_color_space == JCS_RGB) {
    destination->put_pixel_rows = PutRgbRows;
  } else {
    ERREXIT(decoder, kBmpColorSpaceMessage);
  }

  jpeg_calc_output_dimensions(decoder);
  destination->data_width = decoder->output_width * decoder->output_components;
  destination->row_width = destination->data_width;
  destination->pad_bytes = 0;
  destination->output_start = nullptr;
  destination->write_position = nullptr;
  destination->current_output_row = 0;

  destination->whole_image = (*decoder->mem->request_virt_sarray)(
      reinterpret_cast<j_common_ptr>(decoder), JPOOL_IMAGE, FALSE, destination->row_width,
      decoder->output_height, 1);
  destination->buffer = (*decoder->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(decoder),
                                                      JPOOL_IMAGE, destination->data_width, 1);
  destination->buffer_height = 1;
  return destination;
}

DWORD DibBlockSize(j_decompress_ptr decoder, const DibDestination* destination) {
  const unsigned long long colors = IsGreyscale(decoder) ? kGreyRampEntries : 0;
  const unsigned long long size =
      static_cast<unsigned long long>(destination->row_width) * decoder->output_height +
      4 * colors + kHeaderBytes;
  if (size > 0xFFFFFFFFull) {
    ERREXIT1(decoder, JERR_OUT_OF_MEMORY, 0);
  }
  return static_cast<DWORD>(size);
}
