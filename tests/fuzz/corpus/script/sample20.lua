drav_message( context, "The hide falls quiet. A muffled voice calls from a skiff under the reeds." )
