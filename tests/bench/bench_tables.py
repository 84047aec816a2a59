#!/usr/bin/python3
"""Tables for the whole-process benchmarks (whole_process.sh), written with the standard library alone.

  bench_tables.py multiply FOLDER COPIES   every record of the school's grupos, profesor, horgrup,
                                           asigalum, aulas and alumnos in FOLDER, COPIES times over: each
                                           copy another centre's (student and group codes prefixed with the
                                           copy's number, identity numbers raised by it), as runs_bench does
  bench_tables.py solution FOLDER LESSONS  FOLDER/SOLUC.DBF as the generator leaves it, made from the
                                           exported teaching load FOLDER/ASIGT.DBF: LESSONS lessons, one per
                                           ASIGT record in stored order (walking it again when it has fewer),
                                           on days 1 to 5 and periods 1 to 7 in turn, all in room A12
"""
import os
import struct
import sys

END_OF_FILE = b"\x1a"


class Table:
    def __init__(self, path):
        data = open(path, "rb").read()
        self.count, self.header_length, self.record_length = struct.unpack_from("<IHH", data, 4)
        self.header = bytearray(data[: self.header_length])
        self.fields = {}
        offset = 1
        at = 32
        while at + 32 < self.header_length and data[at] != 0x0D:
            name = data[at : at + 11].split(b"\0")[0].decode("ascii").upper()
            kind = chr(data[at + 11])
            length = data[at + 16] + (data[at + 17] * 256 if kind == "C" else 0)
            self.fields[name] = (kind, offset, length)
            offset += length
            at += 32
        start = self.header_length
        self.records = [
            bytearray(data[start + i * self.record_length : start + (i + 1) * self.record_length])
            for i in range(self.count)
        ]

    def text(self, record, name):
        _, offset, length = self.fields[name]
        return record[offset : offset + length].decode("latin-1").rstrip(" ")

    def write(self, path, records):
        header = bytearray(self.header)
        header[1:4] = bytes([2026 - 1900, 12, 10])
        struct.pack_into("<I", header, 4, len(records))
        with open(path, "wb") as out:
            out.write(header)
            out.writelines(records)
            out.write(END_OF_FILE)


def put_text(record, field, text):
    _, offset, length = field
    record[offset : offset + length] = text[:length].ljust(length, b" ")


def put_number(record, field, number):
    _, offset, length = field
    record[offset : offset + length] = str(number).encode("ascii").rjust(length, b" ")


def multiply(folder, copies):
    for name in ("grupos.dbf", "profesor.dbf", "horgrup.dbf", "asigalum.dbf", "aulas.dbf", "alumnos.dbf"):
        path = os.path.join(folder, name)
        table = Table(path)
        everything = list(table.records)
        for copy in range(1, copies):
            prefix = str(copy).encode("ascii")
            for original in table.records:
                record = bytearray(original)
                for field_name, field in table.fields.items():
                    kind, offset, length = field
                    value = bytes(record[offset : offset + length])
                    if field_name in ("CODIGO", "CODGRUP") and value.strip(b" "):
                        put_text(record, field, prefix + value)
                    elif field_name == "DNI" and kind == "N" and value.strip(b" "):
                        put_number(record, field, int(value) + copy)
                everything.append(record)
        table.write(path, everything)


def solution(folder, lessons):
    asigt = Table(os.path.join(folder, "ASIGT.DBF"))
    fields = [("DIA", "N", 9), ("HORA", "N", 9)] + [(name, "C", 5) for name in ("AULA", "PROF", "NIVEL", "CURSO", "ASIG", "GRUPO")]
    header_length = 32 + 32 * len(fields) + 1
    record_length = 1 + sum(length for _, _, length in fields)
    header = bytearray(32)
    header[0] = 0x03
    header[1:4] = bytes([2026 - 1900, 12, 10])
    struct.pack_into("<IHH", header, 4, lessons, header_length, record_length)
    header[29] = 0x57
    for name, kind, length in fields:
        descriptor = bytearray(32)
        descriptor[0 : len(name)] = name.encode("ascii")
        descriptor[11] = ord(kind)
        descriptor[16] = length
        header += descriptor
    header += b"\x0d"
    records = []
    live = [r for r in asigt.records if r[0:1] != b"*"]
    lesson = 0
    while lesson < lessons and live:
        for r in live:
            if lesson == lessons:
                break
            values = {
                "DIA": str(1 + lesson % 5),
                "HORA": str(1 + lesson // 5 % 7),
                "AULA": "A12",
                "PROF": asigt.text(r, "CPROF"),
                "NIVEL": asigt.text(r, "NIVEL"),
                "CURSO": asigt.text(r, "CURSO"),
                "ASIG": asigt.text(r, "CASIG"),
                "GRUPO": asigt.text(r, "GRUPO"),
            }
            record = b" "
            for name, kind, length in fields:
                value = values[name].encode("latin-1")[:length]
                record += value.rjust(length, b" ") if kind == "N" else value.ljust(length, b" ")
            records.append(record)
            lesson += 1
    struct.pack_into("<I", header, 4, len(records))
    with open(os.path.join(folder, "SOLUC.DBF"), "wb") as out:
        out.write(header)
        out.writelines(records)
        out.write(END_OF_FILE)
    return len(records)


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("multiply", "solution"):
        sys.exit(__doc__)
    if sys.argv[1] == "multiply":
        multiply(sys.argv[2], int(sys.argv[3]))
    else:
        print(solution(sys.argv[2], int(sys.argv[3])), "lessons")
