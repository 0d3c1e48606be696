#!/usr/bin/env python3
"""Prints the string table of a Windows executable's version resource, one
"Key=Value" a line, and the fixed file version; exits 1 when it has none.
Usage: pe_version.py FILE"""
import struct
import sys


def resource_section(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]  # the resource directory
    table = optional + optional_size
    for i in range(sections):
        vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, table + 40 * i + 8)
        if vaddr <= rva < vaddr + max(vsize, rawsize):
            return data[rawptr:rawptr + rawsize], vaddr, rva - vaddr
    return None


def version_blocks(section, vaddr, root):
    """Every RT_VERSION (16) resource's bytes."""
    def entries(at):
        named, ids = struct.unpack_from("<12xHH", section, at)
        for i in range(named + ids):
            name, offset = struct.unpack_from("<II", section, at + 16 + 8 * i)
            yield name, offset

    found = []

    def walk(at, depth, kind):
        for name, offset in entries(at):
            if depth == 0:
                kind = name
            if offset & 0x80000000:
                walk(root + (offset & 0x7FFFFFFF), depth + 1, kind)
            elif kind == 16:
                data_rva, size = struct.unpack_from("<II", section, root + offset)
                found.append(section[data_rva - vaddr:data_rva - vaddr + size])

    walk(root, 0, None)
    return found


def strings(block):
    """The StringFileInfo pairs of a VS_VERSIONINFO block, and its file version."""
    pairs, version = {}, None

    def node(at, end, depth, parent):
        nonlocal version
        while at + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", block, at)
            if length == 0:
                return
            key_end = at + 6
            while block[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = block[at + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if depth == 0 and value_length >= 52:
                ms, ls = struct.unpack_from("<II", block, value_at + 8)
                version = "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
            if depth == 3:
                text = block[value_at:value_at + 2 * value_length].decode("utf-16-le")
                pairs[key] = text.rstrip("\0")
                children = at + length
            else:
                children = (value_at + (value_length if kind == 0 else 2 * value_length) + 3) & ~3
            if depth < 3 and (depth != 1 or key == "StringFileInfo"):
                node(children, at + length, depth + 1, key)
            at = (at + length + 3) & ~3

    node(0, len(block), 0, None)
    return pairs, version


def main():
    data = open(sys.argv[1], "rb").read()
    found = resource_section(data)
    blocks = version_blocks(*found) if found else []
    if not blocks:
        print("no version resource in " + sys.argv[1], file=sys.stderr)
        return 1
    pairs, version = strings(blocks[0])
    print("FixedFileVersion=%s" % version)
    for key, value in sorted(pairs.items()):
        print("%s=%s" % (key, value))
    return 0


if __name__ == "__main__":
    sys.exit(main())
