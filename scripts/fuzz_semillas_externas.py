#!/usr/bin/python3
"""Seeds written by other programs, as Debian packages them, for the fuzz targets: small tables by python3-dbf
(dBase III with its .DBT memo file, FoxPro with its .FPT, Visual FoxPro), by GDAL's ogr2ogr (the .dbf of an
"ESRI Shapefile") and by shapelib's dbfcreate and dbfadd, and a solution of the generator's shape written by
python3-dbf.

Usage: fuzz_semillas_externas.py FOLDER   (writes FOLDER/tabla, FOLDER/memo, FOLDER/importacion)
"""
import datetime
import os
import shutil
import subprocess
import sys
import tempfile

import dbf

# The memo target's input: a byte choosing the kind (0 FoxPro, 1 dBase III, 2 dBase IV), eight block numbers,
# then the memo file.
MEMO_KIND = {".fpt": 0, ".dbt": 1}


def seed(folder, target, name, data):
    os.makedirs(os.path.join(folder, target), exist_ok=True)
    with open(os.path.join(folder, target, name), "wb") as out:
        out.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def python_dbf_tables(work, folder):
    rows = [("LOPEZ MARTI, EVA", 12345678, 3.5, True, datetime.date(2020, 1, 31), "Una nota\r\nde dos líneas"),
            ("PEÑA, JOSÉ", 0, -1.25, False, None, ""),
            ("", 99999999, 0.0, None, datetime.date(1999, 12, 31), "x" * 700)]
    kinds = [("db3", "NOMBRE C(20); DNI N(9,0); HORAS N(6,2); ACTIVO L; ALTA D; NOTAS M"),
             ("fp", "NOMBRE C(20); DNI N(9,0); HORAS F(10,2); ACTIVO L; ALTA D; NOTAS M"),
             ("vfp", "NOMBRE C(20); DNI I; HORAS B; ACTIVO L; ALTA D; NOTAS M")]
    for kind, fields in kinds:
        path = os.path.join(work, "pd_" + kind + ".dbf")
        table = dbf.Table(path, fields, dbf_type=kind, codepage="cp1252")
        table.open(dbf.READ_WRITE)
        for row in rows:
            values = list(row)
            if kind == "vfp":
                values[2] = float(values[2])
            table.append(tuple(values))
        dbf.delete(table[1])
        table.close()
        seed(folder, "tabla", "python-dbf-" + kind + ".dbf", read(path))
        for extension, code in MEMO_KIND.items():
            memo = path[:-4] + extension
            if os.path.exists(memo):
                seed(folder, "memo", "python-dbf-" + kind + extension, bytes([code, 1, 2, 3, 4, 5, 6, 8, 9]) + read(memo))

    # The generator's solution, as another program writes it.
    path = os.path.join(work, "SOLUC.DBF")
    table = dbf.Table(path, "DIA N(2,0); HORA N(2,0); AULA C(5); PROF C(4); NIVEL C(5); CURSO C(3); ASIG C(4); "
                      "GRUPO C(2)", dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for dia in range(1, 6):
        table.append((dia, dia + 1, "A12", "GA", "ESO", "1", "MAT", "A"))
    table.close()
    seed(folder, "importacion", "python-dbf-SOLUC.DBF", read(path))


def gdal_table(work, folder):
    csv = os.path.join(work, "aulas.csv")
    with open(csv, "w", encoding="utf-8") as f:
        f.write("COD,NOMBRE,PLAZAS,SUPERFICIE\nA12,Aula 12,30,55.5\nLAB,Laboratorio de Física,20,80.25\n")
    out = os.path.join(work, "ogr")
    subprocess.run(["ogr2ogr", "-f", "ESRI Shapefile", out, csv], check=True, capture_output=True)
    for name in os.listdir(out):
        if name.lower().endswith(".dbf"):
            seed(folder, "tabla", "ogr2ogr-" + name, read(os.path.join(out, name)))


def shapelib_table(work, folder):
    path = os.path.join(work, "shapelib.dbf")
    subprocess.run(["dbfcreate", path, "-s", "NOMBRE", "20", "-n", "DNI", "9", "0", "-n", "HORAS", "6", "2"],
                   check=True, capture_output=True)
    for values in (["LOPEZ MARTI, EVA", "12345678", "3.5"], ["GARCIA", "0", "-1.25"]):
        subprocess.run(["dbfadd", path] + values, check=True, capture_output=True)
    seed(folder, "tabla", "shapelib.dbf", read(path))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    work = tempfile.mkdtemp()
    try:
        python_dbf_tables(work, folder)
        gdal_table(work, folder)
        shapelib_table(work, folder)
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
