#!/usr/bin/env python3
"""Prints the version information of a Windows program or installer, one "Name=value" line
each: FixedFileVersion from the fixed part, then every string of its StringFileInfo table.
Exits with 1 when the file has none.
    versioninfo.py scorvex.exe
"""
import struct
import sys

FIXED_SIGNATURE = 0xFEEF04BD


def align4(offset):
    return (offset + 3) & ~3


def read_node(data, offset):
    """One node of the version tree: (key, value, children, end)."""
    length, value_length, text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    value_start = align4(key_end + 2)
    size = value_length * 2 if text else value_length
    value = data[value_start:value_start + size]
    if text:
        value = value.decode("utf-16-le").rstrip("\0")
    children = []
    child = align4(value_start + size)
    while child + 6 <= end:
        node = read_node(data, child)
        if node[3] <= child:
            break
        children.append(node)
        child = align4(node[3])
    return key, value, children, end


def main():
    data = open(sys.argv[1], "rb").read()
    start = data.find("VS_VERSION_INFO".encode("utf-16-le"))
    if start < 6:
        print(f"{sys.argv[1]}: no version information", file=sys.stderr)
        return 1
    key, fixed, children, _ = read_node(data, start - 6)
    signature, _, ms, ls = struct.unpack_from("<IIII", fixed)
    if signature != FIXED_SIGNATURE:
        print(f"{sys.argv[1]}: damaged version information", file=sys.stderr)
        return 1
    print(f"FixedFileVersion={ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
    for child in children:
        if child[0] != "StringFileInfo":
            continue
        for table in child[2]:
            for name, value, _, _ in table[2]:
                print(f"{name}={value}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
