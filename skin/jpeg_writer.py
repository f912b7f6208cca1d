"""A small baseline JPEG encoder (4:4:4 YCbCr, the standard tables), enough for the skin's pictures."""
import math
import struct

ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14,
          21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53,
          60, 61, 54, 47, 55, 62, 63]
LUMA_Q = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22,
          29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92, 49, 64, 78, 87, 103,
          121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]
CHROMA_Q = [17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99,
            99, 99, 99, 99, 99] + [99] * 32
# Standard Huffman tables (bits per length, values).
DC_L = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_C = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_L = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d], bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f02433627282090a161718191a25262728292a3435363738"
    "393a434445464748494a535455565758595a636465666768696a737475767778797a838485868788898a92939495969798999aa2a3a4a5"
    "a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8f9fa"))
AC_C = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex(
    "000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f11718191a262728292a353637"
    "38393a434445464748494a535455565758595a636465666768696a737475767778797a82838485868788898a92939495969798999aa2a3"
    "a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9fa"))


def _codes(table):
    bits, values = table
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[values[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class _Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)
                self.acc = self.n = 0

    def flush(self):
        while self.n:
            self.put(1, 1)


COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]


def _fdct(block):
    out = [0.0] * 64
    for v in range(8):
        for u in range(8):
            s = 0.0
            for y in range(8):
                cy = COS[v][y]
                row = block[y * 8:(y + 1) * 8]
                s += cy * sum(row[x] * COS[u][x] for x in range(8))
            cu = 1 / math.sqrt(2) if u == 0 else 1
            cv = 1 / math.sqrt(2) if v == 0 else 1
            out[v * 8 + u] = 0.25 * cu * cv * s
    return out


def _scaled(q, quality):
    scale = 5000 / quality if quality < 50 else 200 - quality * 2
    return [max(1, min(255, (x * scale + 50) // 100)) for x in q]


def _size_code(v):
    v = abs(v)
    n = 0
    while v:
        n += 1
        v >>= 1
    return n


def write_jpeg(path, w, h, pixel, quality=90):
    """pixel(x, y) -> (r, g, b)."""
    ql, qc = _scaled(LUMA_Q, quality), _scaled(CHROMA_Q, quality)
    dcl, dcc, acl, acc = _codes(DC_L), _codes(DC_C), _codes(AC_L), _codes(AC_C)
    bits = _Bits()
    prev = [0, 0, 0]
    for by in range(0, h, 8):
        for bx in range(0, w, 8):
            planes = ([], [], [])
            for y in range(8):
                for x in range(8):
                    r, g, b = pixel(min(w - 1, bx + x), min(h - 1, by + y))
                    planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
                    planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
                    planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)
            for c in range(3):
                q, dc, ac = (ql, dcl, acl) if c == 0 else (qc, dcc, acc)
                coef = _fdct(planes[c])
                zz = [int(round(coef[ZIGZAG[i]] / q[ZIGZAG[i]])) for i in range(64)]
                diff = zz[0] - prev[c]
                prev[c] = zz[0]
                n = _size_code(diff)
                bits.put(*dc[n])
                if n:
                    bits.put(diff if diff > 0 else diff + (1 << n) - 1, n)
                run = 0
                for i in range(1, 64):
                    v = zz[i]
                    if v == 0:
                        run += 1
                        continue
                    while run > 15:
                        bits.put(*ac[0xF0])
                        run -= 16
                    n = _size_code(v)
                    bits.put(*ac[(run << 4) | n])
                    bits.put(v if v > 0 else v + (1 << n) - 1, n)
                    run = 0
                if run:
                    bits.put(*ac[0x00])
    bits.flush()

    def seg(marker, data):
        return struct.pack(">HH", marker, len(data) + 2) + data

    out = bytearray(b"\xff\xd8")
    out += seg(0xFFE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    out += seg(0xFFDB, b"\x00" + bytes(ql[ZIGZAG[i]] for i in range(64)) + b"\x01" + bytes(qc[ZIGZAG[i]] for i in range(64)))
    out += seg(0xFFC0, struct.pack(">BHHB", 8, h, w, 3) + b"\x01\x11\x00\x02\x11\x01\x03\x11\x01")
    for cls_id, table in ((0x00, DC_L), (0x10, AC_L), (0x01, DC_C), (0x11, AC_C)):
        out += seg(0xFFC4, bytes([cls_id]) + bytes(table[0]) + bytes(table[1]))
    out += seg(0xFFDA, b"\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00")
    out += bits.out + b"\xff\xd9"
    with open(path, "wb") as f:
        f.write(out)
