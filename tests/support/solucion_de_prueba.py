"""A stand-in for the timetable generator's answer, written with python3-dbf: C:\\HTEMP\\SOLUC.DBF for the first
teaching assignments of an export's ASIGT.DBF, one lesson per session, on days 1, 2, ... and period
1 + the assignment's position, with no room."""
import os

import dbf
import dbfread


def escribir_solucion(htemp, asignaciones=10):
    filas = list(dbfread.DBF(os.path.join(htemp, "ASIGT.DBF")))[:asignaciones]
    tabla = dbf.Table(os.path.join(htemp, "SOLUC.DBF"), "DIA N(1,0); HORA N(2,0); AULA C(5); PROF C(4); "
                      "NIVEL C(5); CURSO C(3); ASIG C(4); GRUPO C(2)", dbf_type="db3", codepage="cp1252")
    tabla.open(dbf.READ_WRITE)
    for posicion, a in enumerate(filas):
        for sesion in range(len(a["SESIONES"])):
            tabla.append((sesion + 1, posicion + 1, "", a["CPROF"], a["NIVEL"], a["CURSO"], a["CASIG"], a["GRUPO"]))
    tabla.close()
