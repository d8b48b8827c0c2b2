script, then its flags.
  <tile> boathouse_door "Boathouse Door" door_boathouse ( 1 1 ) door 90 25 </tile>
  <tile> warden_gate "Warden's Gate" gate_warden ( 1 1 ) door 90
   <lua>
    # Only those the Wardens know may pass. (A Lua "--" comment here would hide
    # the whole body: the element's words are joined on one line.)
    return drav_check_tag( context, "wardens_trust" )
