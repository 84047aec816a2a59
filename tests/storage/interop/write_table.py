"""Writes a dBase table with python-dbf from a JSON plan, for the interop tests.

The plan: {"path": ..., "type": "db3" | "fp" | "vfp", "codepage": "cp850", "fields": "NAME C(12); ...",
"records": [{"deleted": false, "values": [...]}, ...]}. Values come as JSON: text for C and M fields,
"YYYYMMDD" for D, "YYYYMMDDhhmmss.fff" for T, true / false for L, a decimal string for N and F, null for an
empty value.
"""
import datetime
import decimal
import json
import sys

import dbf


def converted(kind, value):
    if value is None:
        return None
    if kind == 'D':
        return datetime.date(int(value[:4]), int(value[4:6]), int(value[6:8]))
    if kind == 'T':
        return datetime.datetime.strptime(value, '%Y%m%d%H%M%S.%f')
    if kind in 'NF':
        return decimal.Decimal(value) if '.' in value else int(value)
    return value


def main():
    with open(sys.argv[1], encoding='utf-8') as source:
        plan = json.load(source)
    table = dbf.Table(plan['path'], plan['fields'], dbf_type=plan['type'], codepage=plan['codepage'])
    table.open(dbf.READ_WRITE)
    kinds = [table.field_info(name).field_type for name in table.field_names]
    kinds = [chr(kind) if isinstance(kind, int) else str(kind) for kind in kinds]
    for record in plan['records']:
        table.append(tuple(converted(kind, value) for kind, value in zip(kinds, record['values'])))
        if record.get('deleted'):
            dbf.delete(table[-1])
    table.close()


main()
