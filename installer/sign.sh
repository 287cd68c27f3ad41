#!/usr/bin/env bash
# Signs Windows programs in place with a company's code-signing certificate:
#   sign.sh CERT KEY FILE...
# CERT: the certificate (and its chain) as PEM, or a PKCS#12 file (.pfx/.p12)
# holding certificate and key, KEY then empty. A key's password comes from the
# environment (OKAPI_SIGN_PASSWORD), never from a command line. A time stamp
# server (OKAPI_SIGN_TIMESTAMP, a URL) keeps signatures valid after the
# certificate expires.
set -eu
cert=$1 key=$2
shift 2
args=(-h sha256 -n "OKAPI Customization Tool")
case "$cert" in
  *.pfx | *.p12) args+=(-pkcs12 "$cert") ;;
  *) args+=(-certs "$cert" -key "$key") ;;
esac
if [ -n "${OKAPI_SIGN_PASSWORD:-}" ]; then
  pass=$(mktemp)
  trap 'rm -f "$pass"' EXIT
  printf '%s' "$OKAPI_SIGN_PASSWORD" >"$pass"
  args+=(-readpass "$pass")
fi
[ -z "${OKAPI_SIGN_TIMESTAMP:-}" ] || args+=(-ts "$OKAPI_SIGN_TIMESTAMP")
for file in "$@"; do
  signed="$file.signed"
  rm -f "$signed"
  if ! osslsigncode sign "${args[@]}" -in "$file" -out "$signed" >/dev/null; then
    rm -f "$signed"
    echo "sign.sh: $file could not be signed with $cert" >&2
    exit 1
  fi
  mv -f "$signed" "$file"
done
