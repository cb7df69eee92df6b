# The simulated machine's part of the Wine prefix. Sourced by scripts/lib/common.sh; its two
# functions run with WINEPREFIX, BUILD_DIR and WINE set and the prefix's wineserver up:
#
#   sim_install  puts the drivers into system32\drivers and registers them as kernel services
#                (once), and puts msports.dll and newdev.dll into system32 with "native"
#                overrides, as a machine's own system DLLs (never beside the program). Quick
#                when nothing changed.
#   sim_start    starts both drivers inside the running wineserver. `sc start` returns once a
#                driver's DriverEntry has succeeded, and by then the bus interface, the private
#                control devices and the status device exist. When sim_install replaced a driver
#                that is running already, the wineserver is restarted first.
#
# The drivers publish their volatile registry entries (interface links, SERIALCOMM) each time
# they start, so a new wineserver needs only sim_start.

SIM_SERVICES=(svtmf3 svtser3)
SIM_DLLS=(msports newdev)
SIM_RESTART=()
# The stamp holds the version of the prefix set-up that it records; a prefix set up by an
# earlier version gets what was added since.
SIM_SETUP_VERSION=2

# Copies $1 to $2 unless they are the same already. Sets SIM_COPIED to 1 when it copied.
sim_copy_if_changed() {
  SIM_COPIED=0
  cmp -s "$1" "$2" && return 0
  cp -f "$1" "$2" || { log "error: cannot copy $1 to $2"; return 1; }
  SIM_COPIED=1
}

sim_install() {
  local built="$BUILD_DIR/sim" system32="$WINEPREFIX/drive_c/windows/system32"
  local stamp="$WINEPREFIX/.sarvento-sim-installed" svc dll
  for svc in "${SIM_SERVICES[@]}" "${SIM_DLLS[@]}"; do
    [ -f "$built/$svc.sys" ] || [ -f "$built/$svc.dll" ] || { log "error: $built has no $svc (build first)"; return 1; }
  done
  mkdir -p "$system32/drivers" || return 1

  SIM_RESTART=()
  for svc in "${SIM_SERVICES[@]}"; do
    sim_copy_if_changed "$built/$svc.sys" "$system32/drivers/$svc.sys" || return 1
    [ "$SIM_COPIED" = 1 ] && SIM_RESTART+=("$svc")
  done
  for dll in "${SIM_DLLS[@]}"; do
    sim_copy_if_changed "$built/$dll.dll" "$system32/$dll.dll" || return 1
  done

  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$SIM_SETUP_VERSION" ] && return 0
  for svc in "${SIM_SERVICES[@]}"; do
    "$WINE" sc query "$svc" >/dev/null 2>&1 && continue
    "$WINE" sc create "$svc" type= kernel start= demand binPath= "C:\\windows\\system32\\drivers\\$svc.sys" \
      >"$BUILD_DIR/sc-create-$svc.log" 2>&1 ||
      { cat "$BUILD_DIR/sc-create-$svc.log"; log "error: cannot register the service $svc"; return 1; }
  done
  for dll in "${SIM_DLLS[@]}"; do
    "$WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v "$dll" /t REG_SZ /d native /f >/dev/null 2>&1 ||
      { log "error: cannot set the $dll override"; return 1; }
  done
  echo "$SIM_SETUP_VERSION" >"$stamp"
}

sim_service_running() {
  "$WINE" sc query "$1" </dev/null 2>/dev/null | grep -q RUNNING
}

sim_start() {
  local svc
  for svc in "${SIM_RESTART[@]}"; do
    # Wine does not unload a bus driver that has root devices; a rebuilt driver that is
    # running already takes a new wineserver.
    if sim_service_running "$svc"; then
      log "the rebuilt drivers need a new wineserver: restarting it"
      "$WINESERVER" -k </dev/null >/dev/null 2>&1
      "$WINESERVER" -w </dev/null >/dev/null 2>&1
      "$WINESERVER" -p </dev/null >/dev/null 2>&1 || { log "error: the wineserver did not start again"; return 1; }
      break
    fi
  done
  SIM_RESTART=()
  for svc in "${SIM_SERVICES[@]}"; do
    "$WINE" sc start "$svc" </dev/null >"$BUILD_DIR/sc-start-$svc.log" 2>&1 && continue
    sim_service_running "$svc" && continue # it was running already in this wineserver
    cat "$BUILD_DIR/sc-start-$svc.log"
    log "error: the driver $svc did not start"
    return 1
  done
}
