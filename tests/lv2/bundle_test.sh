#!/bin/bash
# Soravel.lv2 as LV2's own tools see it: sord_validate with the schemas of
# lv2-dev finds no error; lv2ls lists the plug-in; lv2info shows its ports,
# its UI and the sixteen factory programs as presets.
# Usage: bundle_test.sh BUNDLE URI
set -euo pipefail
bundle=$1 uri=$2
fail() { echo "bundle_test: $*" >&2; exit 1; }
[ -f "$bundle/manifest.ttl" ] || fail "no bundle at $bundle"
schemas=/usr/lib/lv2
export LV2_PATH="$(dirname "$bundle"):$schemas"

# Every schema lv2-dev ships, then our files.
mapfile -t ttl < <(find "$schemas" -name '*.ttl' | sort)
out=$(timeout 60 sord_validate "${ttl[@]}" "$bundle"/*.ttl 2>&1) || fail "sord_validate failed: $out"
grep -q "Found 0 errors" <<<"$out" || fail "sord_validate: $out"

listed=$(timeout 60 lv2ls)
grep -qxF "$uri" <<<"$listed" || fail "lv2ls does not list $uri: $listed"

info=$(timeout 60 lv2info "$uri")
expect() { grep -qF -- "$1" <<<"$info" || fail "lv2info lacks \"$1\""; }
expect "Name:              Soravel"
expect "Class:             Reverb Plugin"
expect "Has latency:       no"
expect "Binary:            file://$bundle/soravel_dsp.so"
expect "$uri#ui"
expect "Class:  http://lv2plug.in/ns/extensions/ui#X11UI"
expect "Binary: file://$bundle/soravel_ui.so"
expect "hardRTCapable"
# 18 controls, 4 audio ports, 4 meters.
[ "$(grep -c "^	Port [0-9]*:" <<<"$info")" -eq 26 ] || fail "not 26 ports"
for name in "Input Level" "Output Level" "Dry Level" "ER Level" "Late Level" "Predelay Left" \
  "Predelay Right" "Decay Time" "Decay Freeze" "Size" "Wide" "Bass Ratio" "Crossover" \
  "High Damping" "EQ Low Band Level" "EQ Low Band Freq" "EQ Hi Band Level" "EQ Hi Band Freq" \
  "Input Peak Left" "Output Peak Right"; do
  expect "Name:        $name"
done
# A port's range and default in the unit shown: Decay Time in seconds, 1.50 s by default.
decay=$(sed -n '/Symbol:      decay_time/,/Port [0-9]*:/p' <<<"$info")
grep -q "Minimum:     0.100000" <<<"$decay" || fail "Decay Time minimum: $decay"
grep -q "Maximum:     100.000000" <<<"$decay" || fail "Decay Time maximum: $decay"
grep -q "Default:     1.4996" <<<"$decay" || fail "Decay Time default: $decay"
freeze=$(sed -n '/Symbol:      decay_freeze/,/Port [0-9]*:/p' <<<"$info")
grep -q "toggled" <<<"$freeze" || fail "Decay Freeze is not toggled: $freeze"
crossover=$(sed -n '/Symbol:      crossover/,/Port [0-9]*:/p' <<<"$info")
grep -q "logarithmic" <<<"$crossover" || fail "Crossover is not logarithmic: $crossover"
# The sixteen programs, by name.
presets=$(sed -n '/Presets:/,/^	Port 0/p' <<<"$info")
for name in "Default" "Cathedral" "Station" "Small Hall" "Medium Hall" "Large Hall" "Stadium" \
  "Far Space" "Long Ambience" "Spring Reverb" "Metal And Vacuum" "Mellow" "Garage" \
  "Input In A Cave" "Dark Ambience" "Deep Underground"; do
  grep -qxF "	         $name" <<<"$presets" || fail "no preset \"$name\" in: $presets"
done
[ "$(grep -c "^	         [A-Z]" <<<"$presets")" -eq 16 ] || fail "not 16 presets: $presets"
echo "bundle_test: ok"
