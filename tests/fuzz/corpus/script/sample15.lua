# Done once the party has found the boatwright alive, or found his body.
   return drav_check_tag( context, "boatwright_found" ) or
          drav_check_tag( context, "boatwright_drowned" )
