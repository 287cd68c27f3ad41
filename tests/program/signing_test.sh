#!/usr/bin/env bash
# The build's signing step with a throw-away certificate: okapi.exe, the
# installer and the uninstaller it writes must verify against it.
#   signing_test.sh SIGN_SCRIPT MAKENSIS NSI_SCRIPT -DNAME=VALUE...
# The uninstaller exists only once the installer ran: it is installed under
# Wine (WINEPREFIX, WINE_RUN from the environment) into a folder of its own.
set -u
sign=$1 makensis=$2 nsi=$3
shift 3
work=$(mktemp -d)
folder='c:\okapi-signing-test'
host_folder="$WINEPREFIX/drive_c/okapi-signing-test"
cleanup() {
  [ ! -e "$host_folder/uninstall.exe" ] ||
    "$WINE_RUN" "$WINEPREFIX" "$host_folder/uninstall.exe" /S "_?=$folder" >/dev/null 2>&1
  rm -rf "$work" "$host_folder"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

defines=()
for d in "$@"; do
  case "$d" in
    -DSTAGE=*) stage=${d#-DSTAGE=} ;;
    *) defines+=("$d") ;;
  esac
done
mkdir -p "$work/stage/docs"
cp "$stage/okapi.exe" "$work/stage/okapi.exe"
cp "$stage/docs/llb3cust.chm" "$work/stage/docs/"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=OKAPI signing test" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" \
  >/dev/null 2>&1 || fail "no test certificate"
verify() {  # file: the signature checks out against the test certificate
  osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1
}

verify "$work/stage/okapi.exe" && fail "an unsigned program verifies"
"$sign" "$work/cert.pem" "$work/key.pem" "$work/stage/okapi.exe" || fail "sign.sh failed"
"$makensis" -V2 -NOCD "${defines[@]}" "-DSTAGE=$work/stage" "-DOUTFILE=$work/okapi-setup.exe" \
  "-DSIGN=\"$sign\" \"$work/cert.pem\" \"$work/key.pem\"" "$nsi" >"$work/nsis.log" 2>&1 ||
  { cat "$work/nsis.log"; fail "makensis failed"; }
for f in "$work/stage/okapi.exe" "$work/okapi-setup.exe"; do
  verify "$f" || { cat "$work/verify.log"; fail "$(basename "$f") does not verify"; }
done

"$WINE_RUN" "$WINEPREFIX" "$work/okapi-setup.exe" /S "/D=$folder" || fail "the installer failed"
for f in okapi.exe uninstall.exe; do
  [ -f "$host_folder/$f" ] || fail "/D= did not install $f into $folder"
  verify "$host_folder/$f" || { cat "$work/verify.log"; fail "installed $f does not verify"; }
done
echo "okapi.exe, the installer and the uninstaller verify"
