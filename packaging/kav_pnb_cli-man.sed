# Fixes to the manual page help2man makes of --help.
# The usage text's "Commands:" heading is a section of its own.
s/^.SS .Commands:./.SH COMMANDS/
# Each item of a list, and the heading of each list, begins a line.
/^\\- \|^Errors, where\|^Warnings, where/i .br
# The example is shown as typed, not filled.
/^\.SS "Example/,/^\.PP/{
  s/^\.IP$/.IP\n.nf/
  s/^\.PP$/.fi\n.PP/
}
