#!/usr/bin/env python3
"""Gives topics of a WinHelp file context numbers, so WinHelp(HELP_CONTEXT, number) opens them.

halibut names topics (\\cfg{winhelp-topic}{name}) but writes an empty |CTXOMAP, and HELP_CONTEXT
is the one topic command that both Windows' WinHelp and Wine's winhlp32 carry out.

    hlp_context_map.py FILE.HLP name=number [name=number ...]
    hlp_context_map.py --check FILE.HLP number [number ...]   (exit 0 when each number is mapped)

The new |CTXOMAP is appended to the file and the directory entry pointed at it; the old one stays
behind as unused space, so nothing else in the file moves.
"""
import struct
import sys

FILE_MAGIC = 0x00035F3F
BTREE_MAGIC = 0x293B
FILE_HEADER_SIZE = 9        # reserved space, used space, flags
BTREE_HEADER_SIZE = 38
LEAF_HEADER_SIZE = 8        # free bytes, entries, previous page, next page
INDEX_HEADER_SIZE = 6       # free bytes, entries, first child


class HelpFileError(Exception):
    pass


def context_hash(name):
    """The hash WinHelp files key their |CONTEXT tree with."""
    value = 0
    for c in name:
        if 'A' <= c <= 'Z' or 'a' <= c <= 'z':
            x = ord(c.upper()) - ord('A') + 17
        elif '1' <= c <= '9':
            x = ord(c) - ord('0')
        else:
            x = {'0': 10, '.': 12, '_': 13}.get(c, 0)
        if x:
            value = (value * 43 + x) & 0xFFFFFFFF
    return struct.unpack('<i', struct.pack('<I', value))[0]


def _u16(data, at):
    if at + 2 > len(data):
        raise HelpFileError('truncated at %d' % at)
    return struct.unpack_from('<H', data, at)[0]


def _s16(data, at):
    return struct.unpack('<h', struct.pack('<H', _u16(data, at)))[0]


def _u32(data, at):
    if at + 4 > len(data):
        raise HelpFileError('truncated at %d' % at)
    return struct.unpack_from('<I', data, at)[0]


def internal_file(data, offset):
    """(start of the body, body length) of the internal file whose header is at offset."""
    used = _u32(data, offset + 4)
    start = offset + FILE_HEADER_SIZE
    if start + used > len(data):
        raise HelpFileError('internal file at %d runs past the end' % offset)
    return start, used


def btree_leaves(data, start, key_of_leaf_entry):
    """Yields (position, key) of every leaf entry of the B+ tree whose body starts at start."""
    if _u16(data, start) != BTREE_MAGIC:
        raise HelpFileError('no B+ tree at %d' % start)
    page_size = _u16(data, start + 4)
    root, levels = _s16(data, start + 26), _s16(data, start + 32)
    pages = start + BTREE_HEADER_SIZE
    page = root
    for _ in range(levels - 1):     # down the leftmost children to the first leaf
        page = _s16(data, pages + page * page_size + 4)
    seen = set()
    while page != -1:
        if page in seen or page < 0:
            raise HelpFileError('B+ tree pages loop')
        seen.add(page)
        base = pages + page * page_size
        at = base + LEAF_HEADER_SIZE
        for _ in range(_s16(data, base + 2)):
            key, size = key_of_leaf_entry(data, at)
            yield at, key
            at += size
        page = _s16(data, base + 6)


def _name_entry(data, at):
    end = data.find(b'\0', at)
    if end < 0:
        raise HelpFileError('unterminated name at %d' % at)
    return data[at:end].decode('latin-1'), end - at + 1 + 4


def directory(data):
    """{internal file name: (position of its offset field, offset)}."""
    if len(data) < 16 or _u32(data, 0) != FILE_MAGIC:
        raise HelpFileError('not a WinHelp file')
    start, _ = internal_file(data, _u32(data, 4))
    entries = {}
    for at, name in btree_leaves(data, start, _name_entry):
        field = at + len(name) + 1
        entries[name] = (field, _u32(data, field))
    return entries


def named_file(data, entries, name):
    """(start of the body, body length) of the internal file called name."""
    if name not in entries:
        raise HelpFileError('no %s in the file' % name)
    return internal_file(data, entries[name][1])


def context_offsets(data, entries):
    """{hash: topic offset} from |CONTEXT."""
    start, _ = named_file(data, entries, '|CONTEXT')
    offsets = {}
    for at, key in btree_leaves(data, start, lambda d, a: (struct.unpack_from('<i', d, a)[0], 8)):
        offsets[key] = _u32(data, at + 4)
    return offsets


def add_context_map(data, mapping):
    """The file with |CTXOMAP holding mapping {context name: number}."""
    entries = directory(data)
    named_file(data, entries, '|CTXOMAP')
    offsets = context_offsets(data, entries)
    records = []
    for name, number in mapping.items():
        key = context_hash(name)
        if key not in offsets:
            raise HelpFileError('no topic named %r' % name)
        records.append((number, offsets[key]))
    body = struct.pack('<H', len(records))
    for number, offset in sorted(records):
        body += struct.pack('<iI', number, offset)
    field, old = entries['|CTXOMAP']
    flags = data[old + 8]
    out = bytearray(data)
    new = len(out)
    out += struct.pack('<IIB', FILE_HEADER_SIZE + len(body), len(body), flags) + body
    struct.pack_into('<I', out, field, new)
    struct.pack_into('<I', out, 12, len(out))
    return bytes(out)


def context_map(data):
    """{number: topic offset} as |CTXOMAP holds it (for checking a file)."""
    start, used = named_file(data, directory(data), '|CTXOMAP')
    count = _u16(data, start) if used >= 2 else 0
    return {struct.unpack_from('<i', data, start + 2 + 8 * i)[0]: _u32(data, start + 6 + 8 * i)
            for i in range(count)}


def check(path, numbers):
    try:
        with open(path, 'rb') as f:
            data = f.read()
        mapped = context_map(data)
    except (HelpFileError, OSError) as e:
        sys.stderr.write('%s: %s\n' % (path, e))
        return 1
    missing = [n for n in numbers if n not in mapped]
    for n in missing:
        sys.stderr.write('%s: context %d is not mapped\n' % (path, n))
    return 1 if missing else 0


def main(argv):
    if len(argv) >= 4 and argv[1] == '--check':
        return check(argv[2], [int(n, 0) for n in argv[3:]])
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    mapping = {}
    for pair in argv[2:]:
        name, _, number = pair.partition('=')
        mapping[name] = int(number, 0)
    try:
        with open(argv[1], 'rb') as f:
            data = f.read()
        data = add_context_map(data, mapping)
        if sorted(context_map(data)) != sorted(mapping.values()):
            raise HelpFileError('the new map does not read back')
    except (HelpFileError, OSError) as e:
        sys.stderr.write('%s: %s\n' % (argv[1], e))
        return 1
    with open(argv[1], 'wb') as f:
        f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
