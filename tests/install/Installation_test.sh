#!/usr/bin/env bash
# The installed station: installs the build into a throw-away root, starts the
# installed Kestrix the way its unit does (station root and environment taken
# from the installed unit, program directory = the executable's folder)
# against the installed q7sim on loopback, and looks for the station's files
# where the README puts them. As root it runs in a mount namespace of its own
# and mounts the two RAM disks with the options of the installed mount units.
#
# Arguments: build folder, program directory, unit folder, demo project writer,
# 1 when dadavu must be installed.
set -euo pipefail
bau=$1 programmverzeichnis=$2 unitordner=$3 projektschreiber=$4 mit_dadavu=$5

if [[ $(id -u) == 0 && -z ${INSTALLATION_NAMENSRAUM:-} ]] && unshare --mount true 2>/dev/null; then
  INSTALLATION_NAMENSRAUM=1 exec unshare --mount --propagation private "$0" "$@"
fi

tmp=$(mktemp -d)
box_pid=""
kestrix_pid=""
gemountet=()
aufräumen() {
  set +e
  [[ -n $kestrix_pid ]] && kill "$kestrix_pid" 2>/dev/null
  [[ -n $box_pid ]] && kill "$box_pid" 2>/dev/null
  wait 2>/dev/null
  for m in "${gemountet[@]}"; do umount "$m"; done
  if [[ -n ${INSTALLATION_BEHALTEN:-} ]]; then echo "kept: $tmp"; else rm -rf "$tmp"; fi
}
trap aufräumen EXIT
fehler() { echo "FEHLER: $*" >&2; exit 1; }
# Waits up to $1 tenths of a second for the command after it.
warten() { local n=$1; shift; for ((i = 0; i < n; i++)); do "$@" && return 0; sleep 0.1; done; return 1; }
anzahl() { local n; n=$(grep -c "$1" "$2" 2>/dev/null) || true; echo "${n:-0}"; }
mindestens() { (($(anzahl "$2" "$3") >= $1)); }  # n, pattern, file

ziel=$tmp/ziel
DESTDIR=$ziel cmake --install "$bau" >"$tmp/install.log" || { cat "$tmp/install.log"; fehler "cmake --install"; }

# ---- what the package holds ----------------------------------------------------
prog=$ziel$programmverzeichnis
programme=(Kestrix Loadmate q7sim)
[[ $mit_dadavu == 1 ]] && programme+=(dadavu)
for p in "${programme[@]}"; do
  [[ -x $prog/$p ]] || fehler "$programmverzeichnis/$p fehlt oder ist nicht ausführbar"
done
for f in Kesti.ini Matrix_Cal_.txt; do
  [[ -f $prog/$f ]] || fehler "$programmverzeichnis/$f fehlt"
done
unit=$ziel$unitordner/kestrix.service
[[ -f $unit ]] || fehler "kestrix.service fehlt"
start=$(sed -n 's/^ExecStart=//p' "$unit")
[[ $start == "$programmverzeichnis/Kestrix" ]] || fehler "ExecStart=$start statt $programmverzeichnis/Kestrix"
wurzel_unit=$(sed -n 's/^Environment=KESTRIX_ROOT=//p' "$unit")
[[ -n $wurzel_unit ]] || fehler "kestrix.service setzt KESTRIX_ROOT nicht"
wurzel=$ziel$wurzel_unit

# ---- the station set-up ---------------------------------------------------------
# User and folders from the shipped sysusers and tmpfiles files, as at boot.
if command -v systemd-sysusers >/dev/null && command -v systemd-tmpfiles >/dev/null; then
  mkdir -p "$ziel/etc"
  systemd-sysusers --root="$ziel" >"$tmp/einrichtung.log" 2>&1 || { cat "$tmp/einrichtung.log"; fehler "sysusers"; }
  systemd-tmpfiles --root="$ziel" --create >>"$tmp/einrichtung.log" 2>&1 || { cat "$tmp/einrichtung.log"; fehler "tmpfiles"; }
  [[ -d $wurzel/c ]] || fehler "tmpfiles legt $wurzel_unit/c nicht an"
else
  mkdir -p "$wurzel/c"
fi
for lw in d e; do
  einheit=$(ls "$ziel$unitordner"/*-"$lw".mount 2>/dev/null) || fehler "Mount-Einheit für $lw fehlt"
  wo=$(sed -n 's/^Where=//p' "$einheit")
  [[ $wo == "$wurzel_unit/$lw" ]] || fehler "$einheit: Where=$wo"
  mkdir -p "$wurzel/$lw"
  if [[ -n ${INSTALLATION_NAMENSRAUM:-} ]]; then
    # The unit's own options, with this user for the station user.
    optionen=$(sed -n 's/^Options=//p' "$einheit" | sed -E "s/(uid|gid)=[^,]*/\1=$(id -u)/g")
    mount -t tmpfs -o "$optionen" tmpfs "$wurzel/$lw" || fehler "mount -o $optionen"
    gemountet+=("$wurzel/$lw")
    [[ $(stat -c %a "$wurzel/$lw") == 700 ]] || fehler "$lw nicht mode 0700"
  fi
done

KESTRIX_ROOT=$wurzel "$projektschreiber" Q70000001 >"$tmp/projekt.log" 2>&1 || fehler "Demo-Projekt"

# ---- the box and the program ----------------------------------------------------
suchport=$(python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.2", 0)); print(s.getsockname()[1])')
coproc BOX { exec "$prog/q7sim" --port 0 --host 127.0.0.1 --discovery "127.0.0.2:$suchport" \
  --serial Q70000001 --reply-address 127.0.0.1 --signal A1=const:1.23456 --log "$tmp/frames.log"; }
box_pid=$BOX_PID
read -r -t 10 zeile <&"${BOX[0]}" || fehler "q7sim meldet keinen Port"

# As the unit starts it: its station root, its working folder, no program
# directory given (the executable's folder is it); offscreen instead of the panel.
kestrix_starten() {
  (cd "$wurzel" && exec env -u KESTRIX_PROGDIR -u LOADMATE_DIR KESTRIX_ROOT="$wurzel" \
    QT_QPA_PLATFORM=offscreen KESTRIX_Q7_PORT="${zeile#PORT }" KESTRIX_DISCOVERY_ADDR=127.0.0.2 \
    KESTRIX_DISCOVERY_PORT="$suchport" KESTRIX_DIALOGPROTOKOLL="$tmp/dialoge.txt" \
    "$prog/Kestrix" "$@" >>"$tmp/kestrix.log" 2>&1) &
  kestrix_pid=$!
}
kestrix_ende() {  # waits for the end; the exit status is the function's
  local status=0
  warten 150 eval '! kill -0 "$kestrix_pid" 2>/dev/null' || fehler "Kestrix endet nicht"
  wait "$kestrix_pid" || status=$?
  kestrix_pid=""
  return "$status"
}
protokoll=$prog/Protokolldat.txt

# A run of the demo project, ended through "Ende.txt": status 0, which the
# unit does not restart.
kestrix_starten demo.kxp
warten 300 mindestens 2 '^11002!' "$tmp/frames.log" \
  || { cat "$tmp/kestrix.log" "$tmp/dialoge.txt" 2>/dev/null; fehler "keine zwei Scans"; }
touch "$wurzel/d/Ende.txt"
status=0; kestrix_ende || status=$?
((status == 0)) || fehler "Ende über \"Ende.txt\" mit Status $status"
[[ ! -e $wurzel/d/Ende.txt ]] || fehler "Ende.txt nicht gelöscht"

[[ -f $protokoll ]] || fehler "kein Laufprotokoll in $programmverzeichnis"
for meldung in "Programm gestartet" "Messung gestartet"; do
  mindestens 1 "$meldung" "$protokoll" || fehler "Laufprotokoll ohne \"$meldung\""
done
[[ -s $wurzel/d/Daten.txt ]] || fehler "keine Daten.txt auf d"
grep -q "1[.,]23456" "$wurzel/d/Daten.txt" || fehler "Daten.txt ohne den Wert von A1: $(cat "$wurzel/d/Daten.txt")"
# The measurement data directory: the matrix files of every scan (a logger
# line only comes with the logger's period).
ls "$wurzel"/c/kestrix/extern/messdat/demo/*.txt >/dev/null 2>&1 || fehler "keine Messdatei unter c:\\kestrix\\extern\\messdat\\demo"
# The matrix's first calibration file, made from the template beside Kestrix.
[[ -f $wurzel/c/kestrix/extern/config/demo/Matrix_Cal_D.txt ]] || fehler "keine Matrix_Cal_D.txt aus der Vorlage"

# The update hand-off, idle: "UPDATE.EXE" put on the data-interface drive
# after the start is run from there, and the program ends with status 0.
kestrix_starten
warten 100 mindestens 2 "Programm gestartet" "$protokoll" || fehler "zweiter Start"
sleep 0.5
printf '#!/bin/sh\npwd > "%s"\n' "$tmp/update.lief" >"$tmp/UPDATE.EXE"
chmod +x "$tmp/UPDATE.EXE"
mv "$tmp/UPDATE.EXE" "$wurzel/d/UPDATE.EXE"
status=0; kestrix_ende || status=$?
((status == 0)) || fehler "Übergabe an update.exe mit Status $status"
warten 50 test -s "$tmp/update.lief" || fehler "update.exe lief nicht: $(tail -3 "$protokoll")"
[[ $(cat "$tmp/update.lief") == "$wurzel/d" ]] || fehler "update.exe lief in $(cat "$tmp/update.lief")"
echo "installed station ok: $(ls "$prog" | tr '\n' ' ')"
