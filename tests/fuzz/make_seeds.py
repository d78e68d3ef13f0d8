#!/usr/bin/env python3
# Writes the fuzz targets' seeds into tests/fuzz/seeds/<target>: small
# inputs cut from the real files (a commentary WAV and the stored documents
# of a build in build/, resources/Data001.txt) and the known bad cases.
# Run from the repository root after a build: python3 tests/fuzz/make_seeds.py
import os
import shutil
import struct

root = 'tests/fuzz/seeds'
def put(target, name, data):
    d = os.path.join(root, target); os.makedirs(d, exist_ok=True)
    open(os.path.join(d, name), 'wb').write(data)

# --- sound files: the head of a real commentary WAV, cut to a short sound
real = open('build/app/NRZ.wav', 'rb').read()
assert real[:4] == b'RIFF' and real[36:40] == b'data'
fmt = real[12:36]
frames = 200
samples = real[44 + 20000: 44 + 20000 + 2 * frames]
def wav(fmt_chunk, data, data_claim=None, riff_claim=None, extra=b''):
    claim = len(data) if data_claim is None else data_claim
    body = b'WAVE' + fmt_chunk + extra + b'data' + struct.pack('<I', claim) + data
    riff = len(body) if riff_claim is None else riff_claim
    return b'RIFF' + struct.pack('<I', riff) + body
def fmt_pcm(tag, channels, rate, bits, size=16, tail=b''):
    align = channels * bits // 8
    body = struct.pack('<HHIIHH', tag, channels, rate, rate * align, align, bits) + tail
    return b'fmt ' + struct.pack('<I', size) + body
good = wav(fmt, samples)
put('sound_file_fuzz', 'commentary-head.wav', good)
put('sound_file_fuzz', 'mono-8bit.wav', wav(fmt_pcm(1, 1, 8000, 8), bytes(range(0, 256, 2)) * 2))
put('sound_file_fuzz', 'stereo-16bit.wav', wav(fmt_pcm(1, 2, 44100, 16), samples * 2))
put('sound_file_fuzz', 'mono-24bit.wav', wav(fmt_pcm(1, 1, 48000, 24), samples[:300]))
put('sound_file_fuzz', 'float.wav', wav(fmt_pcm(3, 1, 22050, 32, 18, b'\0\0'),
                                         b''.join(struct.pack('<f', (i % 50) / 25 - 1.0) for i in range(100)), extra=b'fact' + struct.pack('<II', 4, 100)))
ext_guid = bytes.fromhex('0100000000001000800000aa00389b71')
put('sound_file_fuzz', 'extensible.wav', wav(fmt_pcm(0xFFFE, 2, 16000, 16, 40, struct.pack('<HHI', 22, 16, 3) + ext_guid), samples))
put('sound_file_fuzz', 'with-list-chunk.wav', wav(fmt, samples[:100], extra=b'LIST' + struct.pack('<I', 12) + b'INFOISFT\0\0\0\0'))
# known bad cases
put('sound_file_fuzz', 'cut-in-riff.wav', good[:4])
put('sound_file_fuzz', 'cut-in-fmt.wav', good[:20])
put('sound_file_fuzz', 'cut-before-data.wav', good[:36])
put('sound_file_fuzz', 'cut-in-sound.wav', good[:44 + 150])
put('sound_file_fuzz', 'wrong-signature.wav', b'RIFX' + good[4:])
put('sound_file_fuzz', 'not-wave.wav', good[:8] + b'AVI ' + good[12:])
put('sound_file_fuzz', 'data-4gib.wav', wav(fmt, samples[:16], data_claim=0xFFFFFFFF))
put('sound_file_fuzz', 'data-placeholder.wav', wav(fmt, samples[:16], data_claim=0x7FFFF000, riff_claim=0x7FFFF024))
put('sound_file_fuzz', 'fmt-huge.wav', b'RIFF' + struct.pack('<I', 100) + b'WAVEfmt ' + struct.pack('<I', 0xFFFFFFF0) + fmt[8:] + b'data\x04\0\0\0abcd')
put('sound_file_fuzz', 'no-channels.wav', wav(fmt_pcm(1, 0, 8000, 16), samples[:20]))
put('sound_file_fuzz', 'rate-zero.wav', wav(fmt_pcm(1, 1, 0, 16), samples[:20]))
put('sound_file_fuzz', 'no-samples.wav', wav(fmt, b''))
put('sound_file_fuzz', 'text.wav', 'Звуковое сопровождение к коду NRZ.\n'.encode())

# --- stored documents
for name in ('help_literature', 'jon_kvp3'):
    put('reference_document_fuzz', name + '.bdoc', open(f'build/ui/docs/{name}.bdoc', 'rb').read())
lit = open('build/ui/docs/help_literature.bdoc', 'rb').read()
def rec(data, aspect=1, claim=None, sig=b'BDOC'):
    return sig + struct.pack('<iI', aspect, len(data) if claim is None else claim) + data
put('reference_record_fuzz', 'help_literature.bdoc', lit)
put('reference_record_fuzz', 'small.bdoc', rec(b'<p>x</p>'))
put('reference_record_fuzz', 'empty-data.bdoc', rec(b''))
put('reference_record_fuzz', 'trailing-bytes.bdoc', rec(b'<p>x</p>') + b'after')
put('reference_record_fuzz', 'wrong-signature.bdoc', rec(b'<p>x</p>', sig=b'BDOX'))
put('reference_record_fuzz', 'ole-signature.bdoc', bytes.fromhex('d0cf11e0a1b11ae1') + b'\0' * 8)
put('reference_record_fuzz', 'cut-in-signature.bdoc', b'BD')
put('reference_record_fuzz', 'cut-in-header.bdoc', rec(b'')[:9])
put('reference_record_fuzz', 'size-4gib.bdoc', rec(b'xyz', claim=0xFFFFFFFF))
put('reference_record_fuzz', 'size-past-end.bdoc', rec(b'xyz', claim=4))
put('reference_record_fuzz', 'aspect-icon.bdoc', rec(b'<p>x</p>', aspect=4))
put('reference_record_fuzz', 'aspect-negative.bdoc', rec(b'<p>x</p>', aspect=-1))
for n in ('empty-data', 'size-4gib', 'wrong-signature', 'cut-in-header'):
    shutil.copy(f'{root}/reference_record_fuzz/{n}.bdoc', f'{root}/reference_document_fuzz/{n}.bdoc')
put('reference_document_fuzz', 'not-utf8.bdoc', rec(b'<p>\xcf\xf0\xe8\xe2\xe5\xf2</p>'))
put('reference_document_fuzz', 'missing-figure.bdoc', rec(b'<p><img src="qrc:/docs/fig/none.svg"></p>'))
put('reference_document_fuzz', 'figure.bdoc', rec(b'<p><img src="qrc:/docs/pic/scheme-dts.svg" width="300"></p><table><tr><td>1</td><th>2</th></tr></table>'))

# --- information text
data = open('resources/Data001.txt', 'rb').read()
put('information_text_fuzz', 'Data001.txt', data)
put('information_text_fuzz', 'crlf.txt', data.replace(b'\n', b'\r\n')[:200])
put('information_text_fuzz', 'cr-only.txt', data.replace(b'\n', b'\r')[:200])
put('information_text_fuzz', 'mixed-breaks.txt', b'a\r\n\nb\r\rc\n\rd\r')
put('information_text_fuzz', 'undefined-0x98.txt', b'\xca\xee\xe4 \x98 \xd6\xd1\xcf\r\n')
put('information_text_fuzz', 'every-byte.txt', bytes(range(256)))
put('information_text_fuzz', 'empty.txt', b'')
# top bit of the first byte: tiled near the capacity (odd choice) or near half of it (even)
put('information_text_fuzz', 'tiled-lf-half.txt', b'\x80\x00\x80' + b'\n')
put('information_text_fuzz', 'tiled-crlf-full.txt', b'\x80\x00\x81' + b'\r\n')
put('information_text_fuzz', 'tiled-text-full.txt', b'\x80\x01\x01' + 'Код ЦСП\r\n'.encode('cp1251'))

# --- combinations
for i, c in enumerate([b'110100', b'1010101010', b'000000', b'1111111111', b'1000010000', b'11010011']):
    put('combination_fuzz', f'valid-{i}.txt', c)
put('combination_fuzz', 'utf16-110100.txt', '110100'.encode('utf-16-le'))
put('combination_fuzz', 'too-short.txt', b'11010')
put('combination_fuzz', 'too-long.txt', b'11010011010')
put('combination_fuzz', 'cyrillic-o.txt', '11О100'.encode('utf-8'))
put('combination_fuzz', 'utf16-fullwidth.txt', '１１0100'.encode('utf-16-le'))
put('combination_fuzz', 'utf16-surrogate.txt', '110100'.encode('utf-16-le') + b'\x3d\xd8')
