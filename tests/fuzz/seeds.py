#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets under tests/fuzz/corpus/<target>/ from the
project's real files (default skin, test skins, registry scripts) and real records (command
lines, copy-data and drop-list blocks, HTTP answers, disk identity blocks). Re-run after a
skin or script changes; files found by fuzzing are added beside these by hand."""
import glob
import os
import struct

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
OUT = os.path.join(ROOT, 'tests', 'fuzz', 'corpus')


def put(target, name, data):
    folder = os.path.join(OUT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def u16(text):
    return text.encode('utf-16-le')


def fdp_strings(*texts):
    """Strings as FuzzedDataProvider's ConsumeRandomLengthString reads them: a backslash is
    doubled, a backslash and another byte ends the string."""
    out = b''
    for t in texts:
        out += t.replace(b'\\', b'\\\\') + b'\\x'
    return out


def read(path):
    with open(os.path.join(ROOT, path), 'rb') as f:
        return f.read()


def skin_files(pattern):
    return sorted(glob.glob(os.path.join(ROOT, pattern), recursive=True))


# Command lines and copy-data records as the program and the shell extension make them.
for i, line in enumerate(['/add "C:\\Users\\me\\Documents\\notes.txt"', '/add C:\\windows',
                          '"C:\\Program Files\\Pinvale\\Pinvale.exe" /add "D:\\Fotos \u00e9t\u00e9"',
                          '/add', '/ADD "C:\\x"', '/add "C:\\x" ']):
    put('cmdline', 'line%d' % i, u16(line))
path = u16('C:\\Users\\me\\Desktop\\Pinvale.lnk')
put('copydata', 'record520', path + b'\0' * (520 - len(path)))
put('copydata', 'unterminated', u16('C:\\temp'))
put('copydata', 'odd', u16('C:\\a') + b'\x41')


def dropfiles(names, wide=True):
    body = b''.join((u16(n) + b'\0\0') if wide else (n.encode('cp1252') + b'\0') for n in names)
    body += b'\0\0' if wide else b'\0'
    return struct.pack('<IiiII', 20, 10, 20, 0, 1 if wide else 0) + body


put('droplist', 'wide2', dropfiles(['C:\\Users\\me\\a.txt', 'C:\\Program Files']))
put('droplist', 'ansi1', dropfiles(['C:\\Windows\\notepad.exe'], wide=False))
put('droplist', 'empty', dropfiles([]))

put('legacylist', 'crlf', b'C:\\Windows\r\nC:\\Users\\me\\Documents\r\n\r\nD:\\Games\\run.exe\r\n')
put('legacylist', 'lf-nolast', b'C:\\one\nC:\\two\n\nC:\\three')

hotkeys = (b'<?xml version="1.0" encoding="utf-8"?>\n<hotkeys>\n'
           b'  <HK_ITEM key="N" value="C:\\Notes"/>\n  <hk_item KEY="M" Value="C:\\Musik \xc3\xa9"/>\n'
           b'  <HK_ITEMS key="S" value="C:\\not an item"/>\n</hotkeys>\n')
put('hotkey', 'hotkey.xml', hotkeys)

xml_files = skin_files('skin/DefaultSkin/**/*.xml') + skin_files('skin/DefaultSkin/oninit.x') + \
    skin_files('tests/ui/skins/**/*.xml') + skin_files('tests/ui/skins/**/*.XML') + \
    skin_files('tests/ui/skins/**/oninit.x')
for p in xml_files:
    name = os.path.relpath(p, ROOT).replace('/', '_')
    data = read(p)
    if len(data) <= 16384:
        put('xmlstream', name, data)
        put('oskelxml', name, b'\0' + data)
put('xmlstream', 'hotkey.xml', hotkeys)

put('updatedesc', 'newer', fdp_strings(u16('2.2.0.0'), u16('2.1.0.1'),
                                        u16('http://update.example/pinvale/PinvaleSetup.exe?v=2'),
                                        u16('Fixes\\nNew skin'), u16(' 123456'), u16('0, 102,204')))
put('updatedesc', 'odd', fdp_strings(u16(' 3.+4.7b.x'), u16('1..2'), u16('http://h/nul.exe'),
                                      u16('\\\\n'), u16('99999999999999999999'), u16('256,0,0')))

put('http', 'ok', b'HTTP/1.1 200 OK\r\nServer: test\r\nContent-Type: text/plain\r\n'
                  b'Content-Length: 1234\r\nConnection: close\r\n\r\nbody')
put('http', 'notfound', b'HTTP/1.0 404 Not Found\r\ncontent-length:  0\r\n\r\n')
put('http', 'nolength', b'HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:8080/x\r\n\r\n')

for p in ['contextmenu/res/HollinClass.rgs', 'contextmenu/res/HollinModule.rgs']:
    data = read(p)
    if data.startswith(b'\xef\xbb\xbf'):
        data = data[3:]
    put('regscript', os.path.basename(p), b'\0' + data)
    put('regscript', os.path.basename(p) + '.u16', b'\1' + data.decode('utf-8').encode('utf-16-le'))

put('versiontext', 'v2101', struct.pack('<IIB', 0x00020001, 0x00000001, 20) + struct.pack('<IIIH', 2, 6, 1, 9))
put('versiontext', 'big', struct.pack('<IIB', 0xFFFFFFFF, 0xFFFF0000, 3) + struct.pack('<IIIH', 2, 5, 2, 0))


def identify_block(serial, model):
    block = bytearray(512)

    def words(first, text, count):
        text = text.ljust(count * 2)[:count * 2].encode()
        for i in range(count):
            block[(first + i) * 2] = text[2 * i + 1]
            block[(first + i) * 2 + 1] = text[2 * i]
    words(10, serial, 10)
    words(27, model, 20)
    return bytes(block)


put('identity', 'identify', identify_block('  WD-WCC4E1234567', 'WDC WD10EZEX-08WN4A0'))
desc = bytearray(40) + b'WDC WD10EZEX\0' + b'5744432d5743433445313233\0'
struct.pack_into('<IIBBBBIIIIII', desc, 0, 1, len(desc), 0, 0, 0, 1, 0, 40, 0, 53, 11, 0)
put('identity', 'descriptor', bytes(desc))

for i, seed in enumerate([b'\x02\x04\x00\x00\x00\x01\x03&\x00\x00\x00\x00', b'\x03\x05\x04<<\\x\x02',
                          b'\x01\x02\xff\xff\xff\xff\xff\xff\xef\x7f']):
    put('oskelargs', 'args%d' % i, seed)


def stored_entry(name, data):
    """A stored ZIP local entry as the skin packer writes it into the plain body."""
    raw = name.encode()
    return struct.pack('<IHHHHHIIIHH', 0x04034B50, 10, 0, 0, 0, 0, 0, len(data), len(data),
                       len(raw), 0) + raw + data


small = [p for p in skin_files('skin/DefaultSkin/**/*') if os.path.isfile(p) and os.path.getsize(p) <= 2048]
body = b''.join(stored_entry(os.path.relpath(p, os.path.join(ROOT, 'skin/DefaultSkin')), read(p))
                for p in small)
put('skinpackage', 'defaultskin-small', body)
basic = [p for p in skin_files('tests/ui/skins/basic/**/*') if os.path.isfile(p)]
put('skinpackage', 'basic', b''.join(stored_entry(os.path.relpath(p, os.path.join(ROOT, 'tests/ui/skins/basic')),
                                                  read(p)) for p in basic) + b'PK\x01\x02central')

for i, caption in enumerate(['{#fontid=2;hfontid=3}there{/} and {#fontid=3}on top{/}',
                             '{#fontid=2;hfontid=2;pfontid=2}Pinvale{/}: {#fontid=3;hfontid=4;pfontid=2}'
                             'open the list{/} now', 'a{/}b{#fontid=41}cd{/}ef{#', 'Save & close',
                             '{#"fontid"= 7 ; HFONTID=-2}\u5b8b\u4f53{/}']):
    put('richtext', 'caption%d' % i, u16(caption))

for p in skin_files('skin/DefaultSkin/oninit.x') + skin_files('tests/ui/skins/**/oninit.x'):
    put('apptemplate', os.path.relpath(p, ROOT).replace('/', '_'), read(p))
for p in skin_files('skin/DefaultSkin/res/font.xml') + skin_files('tests/ui/skins/**/font.xml'):
    put('fonttemplate', os.path.relpath(p, ROOT).replace('/', '_'), read(p))
for p in skin_files('skin/DefaultSkin/ui/*.xml') + skin_files('tests/ui/skins/*/ui/*.xml') + \
        skin_files('tests/ui/skins/basic/Res/Main.XML'):
    if os.path.getsize(p) <= 16384:
        put('uitemplate', os.path.relpath(p, ROOT).replace('/', '_'), read(p))


def fnv1a(data):
    h = 2166136261
    for b in data:
        h = ((h ^ b) * 16777619) & 0xFFFFFFFF
    return h


def icon_entry(path, write_time, size, side, shade):
    body = struct.pack('<H', len(path)) + u16(path) + struct.pack('<QQHH', write_time, size, side, side)
    body += bytes([shade, 0x20, 0x80, 0xFF]) * (side * side)
    return body + struct.pack('<I', fnv1a(body))


def icon_cache(entries, count=None):
    return b'PVIC' + struct.pack('<II', 1, len(entries) if count is None else count) + b''.join(entries)


put('iconcache', 'two', icon_cache([icon_entry('C:\\Tools\\editor.exe', 0x01D9000012345678, 40960, 32, 0x10),
                                    icon_entry('C:\\Links\\\u4e2d\u6587.lnk', 7, 512, 4, 0x90)]))
put('iconcache', 'noicon', icon_cache([icon_entry('C:\\plain.exe', 1, 2, 0, 0)]))
put('iconcache', 'overcounted', icon_cache([icon_entry('C:\\a.ico', 3, 4, 2, 0x40)], count=5))
