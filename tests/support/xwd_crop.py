"""A box of an X screen kept as an XWD file (Xvfb's -fbdir keeps its screen so) written out as a PNG file,
with nothing but the standard library."""
import struct
import zlib


def crop(xwd_path, png_path, left, top, width, height):
    data = open(xwd_path, "rb").read()
    header = struct.unpack(">25I", data[:100])
    header_size, byte_order, bits_per_pixel, bytes_per_line, colours = (header[0], header[7], header[11],
                                                                       header[12], header[19])
    if bits_per_pixel != 32:
        raise ValueError("expected a 32-bit screen")
    pixels = data[header_size + 12 * colours:]
    rows = bytearray()
    for y in range(top, top + height):
        line = pixels[y * bytes_per_line + left * 4:y * bytes_per_line + (left + width) * 4]
        rows.append(0)  # no filter
        for x in range(0, len(line), 4):
            if byte_order == 0:
                b, g, r = line[x], line[x + 1], line[x + 2]
            else:
                r, g, b = line[x + 1], line[x + 2], line[x + 3]
            rows += bytes((r, g, b))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    with open(png_path, "wb") as out:
        out.write(png)
