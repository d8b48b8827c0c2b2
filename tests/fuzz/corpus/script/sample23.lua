drav_message( context, "The ferry bumps against the dock. Mist lies low over Reedwater." )
