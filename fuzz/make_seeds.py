# Writes the seed corpora in fuzz/corpus/ (run from the top folder); the seeds are ours:
# records, transfers and files made up here, random blobs from a fixed seed.
import os, struct, random
root = 'fuzz/corpus'
def put(target, name, data):
    d = os.path.join(root, target); os.makedirs(d, exist_ok=True)
    if isinstance(data, str): data = data.encode('latin-1')
    open(os.path.join(d, name), 'wb').write(data)
rnd = random.Random(20261208)
blob = lambda n: bytes(rnd.randrange(256) for _ in range(n))

three = ("M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
 "S 03.07.2026 10:00:00     1     1 48123.4  0.7 7 1.5               \r\n"
 "A 03.07.2026 10:01:00     0     0 48110.2 12.5 8 1.6          Base \r\n"
 "G 03.07.2026 10:02:00     1     2 48130.9  1.2 6 1.4    124.0 Fence\r\n")
put('fuzz_data_file', 'three_readings', three)
put('fuzz_data_file', 'no_final_line_end', three.rstrip('\r\n'))
put('fuzz_data_file', 'lone_cr', 'M header\rS reading\r')
put('fuzz_data_file', 'long_line', 'M header\n' + 'S' + '9' * 200 + '\n')
put('fuzz_data_file', 'variations', " Date       Time     Variations\r\n 03.07.2026 10:00:00 48000.0\r\n"
    " 03.07.2026 10:04:00 48004.0\r\n 03.07.2026 10:10:00 48010.0\r\n")
put('fuzz_data_file', 'nul_bytes', 'M header\n\0\0S\0reading\n')

for i in range(4):
    put('fuzz_variations', 'blob%d' % i, blob(300 + 200 * i))
    put('fuzz_graph', 'blob%d' % i, blob(200 + 300 * i))
    put('fuzz_entries', 'blob%d' % i, blob(60))

for name, text in [('plain', '48123.4'), ('exponent', ' -1.5e3'), ('int_over', '2147483648'),
                   ('int_min', '-2147483648'), ('subnormal', '1e-320'), ('float_max', '3.4028236e38'),
                   ('plus', '  +7'), ('point', '.5'), ('trailing_point', '5.'), ('blanks', '\t\n 12x')]:
    put('fuzz_numbers', name, text)

def record(mode, field, grad=0.0, amp=7.0, err=0.7, decay=1.5, line=1, pos=1, note=40):
    head = struct.pack('<6h', 2026, 7, 3, 10, 15, 42)
    body = bytearray(40)
    struct.pack_into('<4h', body, 0, mode, pos, line, note)
    struct.pack_into('<f', body, 12, decay)
    struct.pack_into('<f', body, 20, amp)
    struct.pack_into('<f', body, 28, field if mode == 2 else 0.0)
    struct.pack_into('<f', body, 32, err)
    struct.pack_into('<f', body, 36, grad if mode == 2 else field)
    return head + bytes(body)
put('fuzz_record', 'survey', record(0, 48123.4))
put('fuzz_record', 'gradient', record(2, 48130.9, 124.0, note=3))
put('fuzz_record', 'base', record(1, 48110.2, err=12.5))
put('fuzz_record', 'huge_field', record(0, 4.8e12, amp=1e10))

recs = [record(0, 48123.4), record(2, 48130.9, 124.0), record(1, 48110.2)]
def transfer(count, records, controls=None):
    payload = b'$' + struct.pack('<I', count) + b''.join(records)
    n = 4 + 3 * len(records)
    return payload + (controls if controls is not None else bytes([15]) * n)
put('fuzz_transfer', 'three_records', transfer(3, recs))
put('fuzz_transfer', 'no_data', transfer(0xFFFFFFFF, []))
put('fuzz_transfer', 'too_many', transfer(0xFFFFFFFE, []))
put('fuzz_transfer', 'cut_short', transfer(3, recs)[:80])
put('fuzz_transfer', 'wrong_echo', b'#' + transfer(1, recs[:1])[1:])

put('fuzz_entries', 'typical', b'48000\\x19200,n,8,1\\xCOM3\\x19200\\x' + b'\x01\x00\x00\x00')

# The pictures, the field model and the device list read their inputs through
# FuzzedDataProvider: random blobs are seeds as good as any.
for i in range(4):
    put('fuzz_base_curve', 'blob%d' % i, blob(200 + 300 * i))
    put('fuzz_field_model', 'blob%d' % i, blob(64))
    put('fuzz_usb_tree', 'blob%d' % i, blob(120 + 60 * i))
for i in range(4):
    put('fuzz_map', 'blob%d' % i, blob(300 + 300 * i))

# Survey files as the program writes them: every kind of placement and normal field, and
# a gridding.
head = '{"format": "Velkor2tr survey", "version": 1, '
put('fuzz_survey_file', 'plain', head + '"days": [{"path": "days/mon.velkor"}], "base_sources": [], '
    '"coordinate_system": null, "placement": {"by": "none"}, "datum": 0.0, '
    '"normal_field": {"kind": "none"}, "flags": []}')
put('fuzz_survey_file', 'parameters', head + '"days": [{"path": "a.velkor"}, {"path": "../b.velkor"}], '
    '"base_sources": [{"path": "base.a", "offset": -3600}], "coordinate_system": "EPSG:32633", '
    '"placement": {"by": "parameters", "origin_easting": 500000.5, "origin_northing": 5400000.0, '
    '"azimuth": 123.25, "line_spacing": 25.0, "station_interval": 2.5, "first_line": 1, '
    '"first_position": 0, "lines_to": "right"}, "datum": 48123.4, '
    '"normal_field": {"kind": "igrf", "height": 312.5}, '
    '"flags": [{"file": "a.velkor", "reading": 17, "text": "S 07.07.2026 10:00:01     3    17 48233.9", '
    '"word": "spike"}]}')
put('fuzz_survey_file', 'control_points', head + '"days": [], "placement": {"by": "control points", '
    '"control_points": [{"line": 0, "position": 0, "easting": 10.0, "northing": 20.0}, '
    '{"line": 10, "position": 20, "easting": 110.0, "northing": 230.0}], "lines_to": "left"}, '
    '"normal_field": {"kind": "constant", "value": 47950.5}}')
put('fuzz_survey_file', 'gridding', head + '"days": [], "gridding": {"grid_of": "gradient", '
    '"cell": 2.5, "tension": 0.0, "blanking_distance": "none", "contour_interval": 5.0}}')

# Observatory files: 70-character records, each element set, missing values, a leap second.
def iaga(elements, records):
    rows = [' %-23s%-45s|' % ('Format', 'IAGA-2002'), ' %-23s%-45s|' % ('Reported', elements),
            ' %-68s|' % '# a seed',
            '%-30s%-10s%-10s%-10s%-9s|' % (('DATE       TIME         DOY',) +
                                           tuple('OBS' + e for e in elements))]
    rows += ['%s %s 187   %10.2f%10.2f%10.2f%10.2f' % r for r in records]
    return ''.join(r + '\r\n' for r in rows)
put('fuzz_iaga', 'xyzf', iaga('XYZF', [('2026-07-06', '00:00:00.000', 21000, 1800, 43000, 48000),
                                       ('2026-07-06', '00:01:00.000', 21000, 1800, 43000, 99999),
                                       ('2026-07-06', '00:02:00.000', 88888, 1800, 43000, 48020)]))
put('fuzz_iaga', 'hdzg', iaga('HDZG', [('2026-07-06', '23:59:00.000', 21000, 280.5, 43000, 0.1),
                                       ('2026-07-07', '00:00:00.000', 88888, 280.5, 43000, 0.1)]))
put('fuzz_iaga', 'leap', iaga('XYZG', [('2016-12-31', '23:59:59.000', 2000, 3000, 6000, 0),
                                       ('2016-12-31', '23:59:60.000', 1000, 4000, 8000, 0),
                                       ('2017-01-01', '00:00:00.000', 1000, 4000, 8000, 0)]))
put('fuzz_iaga', 'bad_value', iaga('DHZF', [('2026-07-06', '00:00:00.000', 1, 2, 3, 4)])
    .replace('4.00', '4.O0'))

# CSV base files: both separators, both time forms, empty and unreadable values.
put('fuzz_base_csv', 'comma', 'DATE,TIME,VALUE\n2026-07-06,08:00:00,48000.0\n'
    '2026-07-06,08:01:00,\n2026-07-06,08:02:00,48020.5\n')
put('fuzz_base_csv', 'semicolon', 'Date;Time;F (nT)\r\n06.07.2026;08:00:00;48000,0\r\n'
    '06.07.2026;08:01:00;n/a\r\n06.07.2026;23:59:60;48020,5\r\n')
put('fuzz_base_csv', 'iso', '# export\nstation,"DateTime",Field [nT]\nA,2026-07-06T08:00:00Z,48000\n'
    'A,2026-07-06T08:01:00.250Z,48001\nA,2026-07-06 08:02,48002\n')

def nmea(body):
    s = 0
    for c in body: s ^= ord(c)
    return '$%s*%02X' % (body, s)
put('fuzz_nmea', 'dated_fixes', '\r\n'.join([
    nmea('GPRMC,123500,A,4807.038,N,01131.000,E,0.0,0.0,060726,,'),
    nmea('GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,'),
    nmea('GPZDA,235959.00,31,12,2026,00,00'),
    nmea('GNGGA,000000.5,3352.12345,S,15112.54321,W,4,12,0.6,12.0,M,,,,'),
    '$GPGGA,000001,3352.1']))
put('fuzz_nmea', 'refused', '\n'.join([
    nmea('GPGGA,100000,4807.038,N,01131.000,E,0,00,,,M,,,,'),
    nmea('GPRMC,100004,V,4807.038,N,01131.000,E,,,060726,,'),
    '$GPGGA,100002,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,*00']))
put('fuzz_gpx', 'track', '<?xml version="1.0"?>\n<gpx version="1.1" creator="seed" '
    'xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>'
    '<trkpt lat="48.1" lon="11.5"><ele>545.4</ele><time>2026-07-06T08:00:01.5Z</time></trkpt>'
    '<trkpt lat="48.2" lon="11.6"><time>2026-07-06T10:00:02+02:00</time></trkpt>'
    '<trkpt lat="48.3" lon="11.7"/></trkseg></trk></gpx>\n')
put('fuzz_gpx', 'route', '<gpx version="1.0"><rte><rtept lat="-33" lon="-151">'
    '<time>2026-07-06T08:00:00Z</time></rtept></rte></gpx>\n')
put('fuzz_track_csv', 'latlon', 'date,time,lat,lon\n2026-07-06,08:00:00,48.1,11.5\n'
    '2026-07-06,08:00:01,48.10001,11.50002\n')
put('fuzz_track_csv', 'planned_semicolon', 'DateTime;Easting;Northing\r\n'
    '2026-07-06T08:00:00Z;650000,5;5330000,25\r\n2026-07-06 08:00:05;650001;5330001\r\n')
put('fuzz_track_csv', 'off_globe', '# log\nDATE,TIME,Latitude,Longitude\n06.07.2026,08:00:00,91,0\n')
put('fuzz_transform', 'blob', blob(2048))
