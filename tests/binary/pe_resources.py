"""Reads what a Windows executable carries: its imports, exports and resources (enough for our checks)."""
import struct


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        assert d[pe:pe + 4] == b"PE\0\0", "not a PE file"
        self.machine, nsections, _, _, _, optsize, self.characteristics = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(16)]
        self.sections = []
        sec = opt + optsize
        for i in range(nsections):
            name, vsize, va, rawsize, rawptr = struct.unpack_from("<8sIIII", d, sec + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), va, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for _, va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"rva {rva:#x} outside every section")

    def cstr(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("latin-1")

    def imports(self):
        """{dll name: [imported names]}"""
        rva, _ = self.directories[1]
        result = {}
        o = self.offset(rva)
        wide = self.magic != 0x10B
        while True:
            lookup, _, _, name, thunk = struct.unpack_from("<IIIII", self.data, o)
            if name == 0:
                break
            names = []
            t = self.offset(lookup or thunk)
            while True:
                entry = struct.unpack_from("<Q" if wide else "<I", self.data, t)[0]
                if entry == 0:
                    break
                ordinal_flag = 1 << (63 if wide else 31)
                names.append(f"#{entry & 0xFFFF}" if entry & ordinal_flag else self.cstr((entry & 0x7FFFFFFF) + 2))
                t += 8 if wide else 4
            result[self.cstr(name)] = names
            o += 20
        return result

    def exports(self):
        rva, _ = self.directories[0]
        if rva == 0:
            return []
        o = self.offset(rva)
        nnames = struct.unpack_from("<I", self.data, o + 24)[0]
        names_rva = struct.unpack_from("<I", self.data, o + 32)[0]
        return [self.cstr(struct.unpack_from("<I", self.data, self.offset(names_rva) + 4 * i)[0]) for i in range(nnames)]

    def resources(self):
        """{(type, name, language): bytes}; type and name are numbers or strings."""
        rva, _ = self.directories[2]
        base = self.offset(rva)
        out = {}

        def entries(off):
            named, ids = struct.unpack_from("<HH", self.data, base + off + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + off + 16 + 8 * i)
                if key & 0x80000000:
                    so = base + (key & 0x7FFFFFFF)
                    n = struct.unpack_from("<H", self.data, so)[0]
                    key = self.data[so + 2:so + 2 + 2 * n].decode("utf-16-le")
                yield key, target

        for rtype, t in entries(0):
            for rname, n in entries(t & 0x7FFFFFFF):
                for lang, leaf in entries(n & 0x7FFFFFFF):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    o = self.offset(data_rva)
                    out[(rtype, rname, lang)] = self.data[o:o + size]
        return out


def parse_dialog_ex(data):
    """An extended dialog template: its header fields and controls."""
    o = 0
    ver, sig, helpid, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", data, o)
    assert (ver, sig) == (1, 0xFFFF), "not an extended dialog template"
    o += 26

    def sz_or_ord(o):
        first = struct.unpack_from("<H", data, o)[0]
        if first == 0xFFFF:
            return struct.unpack_from("<H", data, o + 2)[0], o + 4
        end = o
        while struct.unpack_from("<H", data, end)[0] != 0:
            end += 2
        return data[o:end].decode("utf-16-le"), end + 2

    menu, o = sz_or_ord(o)
    cls, o = sz_or_ord(o)
    caption, o = sz_or_ord(o)
    dialog = dict(style=style, exstyle=exstyle, x=x, y=y, cx=cx, cy=cy, caption=caption, controls=[])
    if style & 0x40:  # DS_SETFONT
        point, weight, italic, charset = struct.unpack_from("<HHBB", data, o)
        o += 6
        face, o = sz_or_ord(o)
        dialog["font"] = (point, face, charset)
    for _ in range(count):
        o = (o + 3) & ~3
        helpid, cexstyle, cstyle, cx_, cy_, ccx, ccy, cid = struct.unpack_from("<IIIhhhhI", data, o)
        o += 24
        ccls, o = sz_or_ord(o)
        # A predefined class may be named or numbered; both are the same class to the system.
        ccls = {"button": 0x80, "edit": 0x81, "static": 0x82, "listbox": 0x83, "scrollbar": 0x84,
                "combobox": 0x85}.get(str(ccls).lower(), ccls)
        text, o = sz_or_ord(o)
        extra = struct.unpack_from("<H", data, o)[0]
        o += 2 + extra
        dialog["controls"].append(dict(id=cid if cid < 0x80000000 else cid - (1 << 32), cls=ccls, text=text,
                                       style=cstyle, exstyle=cexstyle, x=cx_, y=cy_, cx=ccx, cy=ccy))
    return dialog


def parse_version_strings(data):
    """The string table entries of a version resource: {key: value}."""
    strings = {}

    def block(o, depth):
        length, value_length, kind = struct.unpack_from("<HHH", data, o)
        end = o + length
        k = o + 6
        key_end = k
        while struct.unpack_from("<H", data, key_end)[0] != 0:
            key_end += 2
        key = data[k:key_end].decode("utf-16-le")
        v = (key_end + 2 + 3) & ~3
        if depth == 3:  # StringFileInfo > string table > String
            value = data[v:v + 2 * value_length].decode("utf-16-le").rstrip("\0")
            strings[key] = value
            return end
        child = v + (value_length if kind == 0 else 2 * value_length)
        child = (child + 3) & ~3
        while child < end:
            child = (block(child, depth + 1) + 3) & ~3
        return end

    block(0, 0)
    return strings
